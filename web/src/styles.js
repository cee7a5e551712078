// How the page draws the boundaries of a section: the engine's boundary
// styles (q.boundaryStyles(): stable id, short label, legend, colour, dots),
// the one home of colours and legends.

// { order: [id, ...] in legend order, byId: { id: style } }.
export function boundaryStyles(q) {
  const styles = q.boundaryStyles();
  return { order: styles.map((s) => s.id), byId: Object.fromEntries(styles.map((s) => [s.id, s])) };
}

// The pieces [{x, y}] of a section's boundaries by style id (several
// boundaries of one id are drawn as one).
export function groupBoundaries(boundaries, styles) {
  const groups = {};
  for (const b of boundaries) {
    if (!styles.byId[b.id]) continue;
    (groups[b.id] ||= []).push(...b.pieces);
  }
  return groups;
}
