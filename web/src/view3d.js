// The phase diagram of H2O-NaCl in three dimensions: the surfaces the engine
// builds (surfacesJson, the json of `quarvessin surfaces` as text or parsed,
// or the same objects with flat typed arrays: vertices [T, P, wt, ...],
// triangles [i, j, k, ...], lines [i, j, ...]) drawn with
// three.js, temperature along x, pressure up on a logarithmic axis, NaCl
// along z. Rotate and zoom with the mouse (OrbitControls), toggle surfaces,
// cut them with the plane of an isobar, isotherm or isopleth, and hover a
// surface for its name and the model point nearest the pointer.
//
//   const view = createView3d(container, surfacesJson, {
//     colours: { 'vapor+liquid': '#1f5fbf', liquidus: '#c0392b', ... },
//     labels: { 'vapor+liquid-liquid': 'vapour + liquid (liquid)', ... },
//     onHover: (info) => ...,   // {name, label, T, P, wt} or null
//   });
//   view.setVisible('vapor+halite', false);
//   view.setPlane('isobar', 300, curves);  // curves: [{points: [[wt, T], ...], colour}]
//   view.setPlane(null);                   // no plane
//
// Colours are looked up by surface name first, then by its boundary; the
// caller passes those of its 2-D plots. Nothing here computes a phase
// boundary: the vertices are the engine's and hover reports one of them.
import {
  AmbientLight,
  BufferAttribute,
  BufferGeometry,
  CanvasTexture,
  Color,
  DirectionalLight,
  DoubleSide,
  EdgesGeometry,
  Group,
  Line,
  LineBasicMaterial,
  LineSegments,
  Mesh,
  MeshLambertMaterial,
  MeshBasicMaterial,
  PerspectiveCamera,
  Plane,
  PlaneGeometry,
  Raycaster,
  Scene,
  Sprite,
  SpriteMaterial,
  Vector2,
  Vector3,
  WebGLRenderer,
  BoxGeometry,
} from 'three';
import { OrbitControls } from 'three/examples/jsm/controls/OrbitControls.js';

const FALLBACK_COLOURS = ['#1f5fbf', '#6fa0e8', '#c0392b', '#1e8f3a', '#8e44ad', '#222222'];
const KINDS = {
  isobar: 'isobar', isobars: 'isobar', isobaric: 'isobar',
  isotherm: 'isotherm', isotherms: 'isotherm', isothermal: 'isotherm',
  isopleth: 'isopleth', isopleths: 'isopleth', isoplethal: 'isopleth',
};

// A surface with its vertices as one flat array [T0, P0, wt0, T1, ...] and
// its triangles and lines as flat index arrays: from the json's nested
// arrays, or as given when already flat (typed arrays from the engine).
export function flatSurface(s) {
  const flat = (a, width, Type) => {
    if (!a || a.length === 0) return new Type(0);
    if (typeof a[0] === 'number') return a;
    const out = new Type(a.length * width);
    a.forEach((row, i) => { for (let k = 0; k < width; ++k) out[width * i + k] = row[k]; });
    return out;
  };
  return {
    name: s.name,
    boundary: s.boundary,
    vertices: flat(s.vertices, 3, Float64Array),
    triangles: flat(s.triangles, 3, Uint32Array),
    lines: flat(s.lines, 2, Uint32Array),
  };
}

// The mapping from (T [C], P [bar], wt%) to the unit cube drawn: x from T,
// y from log10 P, z from wt%.
export function makeAxes(surfaces, options = {}) {
  let tLo = Infinity, tHi = -Infinity, pLo = Infinity, pHi = -Infinity;
  for (const s of surfaces) {
    for (let i = 0; i + 2 < s.vertices.length; i += 3) {
      const t = s.vertices[i], p = s.vertices[i + 1];
      if (t < tLo) tLo = t;
      if (t > tHi) tHi = t;
      if (p > 0 && p < pLo) pLo = p;
      if (p > pHi) pHi = p;
    }
  }
  const [t0, t1] = options.tRange || [Number.isFinite(tLo) ? tLo : 0, Number.isFinite(tHi) ? tHi : 1000];
  const [p0, p1] = options.pRange || [Number.isFinite(pLo) ? pLo : 1e-4, Number.isFinite(pHi) ? pHi : 5000];
  const l0 = Math.log10(p0), l1 = Math.log10(p1);
  return {
    tRange: [t0, t1],
    pRange: [p0, p1],
    x: (t) => (t - t0) / (t1 - t0) - 0.5,
    y: (p) => (Math.log10(p) - l0) / (l1 - l0) - 0.5,
    z: (wt) => wt / 100 - 0.5,
    t: (x) => t0 + (x + 0.5) * (t1 - t0),
    p: (y) => 10 ** (l0 + (y + 0.5) * (l1 - l0)),
    wt: (z) => (z + 0.5) * 100,
  };
}

// A text label as a sprite, drawn on a canvas.
function textSprite(text, colour = '#333333', height = 0.045) {
  const canvas = document.createElement('canvas');
  const ctx = canvas.getContext('2d');
  const font = '48px sans-serif';
  ctx.font = font;
  const width = Math.ceil(ctx.measureText(text).width) + 16;
  canvas.width = width;
  canvas.height = 64;
  ctx.font = font;
  ctx.fillStyle = colour;
  ctx.textBaseline = 'middle';
  ctx.fillText(text, 8, 32);
  const texture = new CanvasTexture(canvas);
  const sprite = new Sprite(new SpriteMaterial({ map: texture, depthTest: false, transparent: true }));
  sprite.scale.set((height * width) / 64, height, 1);
  return sprite;
}

function formatNumber(v) {
  if (v === 0) return '0';
  const a = Math.abs(v);
  if (a >= 1e-3 && a < 1e5) return String(Number(v.toPrecision(4)));
  return v.toExponential(2);
}

// The box, its ticks and the axis names.
function axesGroup(axes) {
  const group = new Group();
  const box = new LineSegments(new EdgesGeometry(new BoxGeometry(1, 1, 1)),
    new LineBasicMaterial({ color: 0x999999 }));
  group.add(box);
  const [t0, t1] = axes.tRange;
  const step = (t1 - t0) > 500 ? 200 : (t1 - t0) > 100 ? 50 : 10;
  for (let t = Math.ceil(t0 / step) * step; t <= t1; t += step) {
    const s = textSprite(`${t}`);
    s.position.set(axes.x(t), -0.55, 0.55);
    group.add(s);
  }
  const [p0, p1] = axes.pRange;
  for (let e = Math.ceil(Math.log10(p0)); e <= Math.log10(p1); e += 1) {
    const s = textSprite(e >= 0 && e <= 3 ? `${10 ** e}` : `1e${e}`);
    s.position.set(-0.58, axes.y(10 ** e), 0.55);
    group.add(s);
  }
  for (const wt of [0, 50, 100]) {
    const s = textSprite(`${wt}`);
    s.position.set(0.55, -0.55, axes.z(wt));
    group.add(s);
  }
  const tName = textSprite('T [°C]', '#000000', 0.055);
  tName.position.set(0, -0.65, 0.62);
  const pName = textSprite('P [bar]', '#000000', 0.055);
  pName.position.set(-0.62, 0.6, 0.55);
  const wName = textSprite('NaCl [wt%]', '#000000', 0.055);
  wName.position.set(0.68, -0.62, 0);
  group.add(tName, pName, wName);
  return group;
}

export function createView3d(container, surfacesJson, options = {}) {
  const data = typeof surfacesJson === 'string' ? JSON.parse(surfacesJson) : surfacesJson;
  const surfaces = (data.surfaces || []).map(flatSurface);
  const axes = makeAxes(surfaces, options);
  const colours = options.colours || {};
  const labels = options.labels || {};

  const renderer = new WebGLRenderer({ antialias: options.antialias ?? true, preserveDrawingBuffer: !!options.preserveDrawingBuffer });
  renderer.setPixelRatio(globalThis.devicePixelRatio || 1);
  renderer.localClippingEnabled = true;
  renderer.setClearColor(new Color(options.background || '#ffffff'));
  container.appendChild(renderer.domElement);

  const scene = new Scene();
  scene.add(new AmbientLight(0xffffff, 1.6));
  const sun = new DirectionalLight(0xffffff, 1.8);
  sun.position.set(1, 2, 1.5);
  scene.add(sun);
  scene.add(axesGroup(axes));

  const camera = new PerspectiveCamera(40, 1, 0.01, 100);
  camera.position.set(1.5, 0.9, 1.9);
  const controls = new OrbitControls(camera, renderer.domElement);
  controls.target.set(0, 0, 0);

  const clip = new Plane(new Vector3(0, -1, 0), 0);
  let clipping = false;
  const objects = new Map();  // name -> {object, surface}
  surfaces.forEach((s, k) => {
    const colour = colours[s.name] || colours[s.boundary] || FALLBACK_COLOURS[k % FALLBACK_COLOURS.length];
    const positions = new Float32Array(s.vertices.length);
    for (let i = 0; i + 2 < s.vertices.length; i += 3) {
      positions[i] = axes.x(s.vertices[i]);
      positions[i + 1] = axes.y(s.vertices[i + 1]);
      positions[i + 2] = axes.z(s.vertices[i + 2]);
    }
    const geometry = new BufferGeometry();
    geometry.setAttribute('position', new BufferAttribute(positions, 3));
    let object;
    if (s.triangles.length > 0) {
      geometry.setIndex(new BufferAttribute(Uint32Array.from(s.triangles), 1));
      geometry.computeVertexNormals();
      object = new Mesh(geometry, new MeshLambertMaterial({
        color: colour, side: DoubleSide, transparent: true, opacity: options.opacity ?? 0.85,
      }));
    } else if (s.lines.length > 0) {
      geometry.setIndex(new BufferAttribute(Uint32Array.from(s.lines), 1));
      object = new LineSegments(geometry, new LineBasicMaterial({ color: colour }));
    } else {
      return;
    }
    object.name = s.name;
    object.userData.surface = s;
    scene.add(object);
    objects.set(s.name, { object, surface: s });
  });
  const setClipping = () => {
    for (const { object } of objects.values()) {
      object.material.clippingPlanes = clipping && plane.visible ? [clip] : [];
      object.material.needsUpdate = true;
    }
  };

  // The cutting plane of the current section, with its curves.
  const plane = new Mesh(new PlaneGeometry(1, 1), new MeshBasicMaterial({
    color: options.planeColour || '#f2b705', side: DoubleSide, transparent: true, opacity: 0.25, depthWrite: false,
  }));
  plane.visible = false;
  scene.add(plane);
  const curves = new Group();
  scene.add(curves);

  const tooltip = options.onHover ? null : document.createElement('div');
  if (tooltip) {
    Object.assign(tooltip.style, {
      position: 'absolute', pointerEvents: 'none', background: 'rgba(255,255,255,0.92)',
      border: '1px solid #999', padding: '2px 6px', font: '12px sans-serif', display: 'none',
    });
    if (getComputedStyle(container).position === 'static') container.style.position = 'relative';
    container.appendChild(tooltip);
  }

  let pending = false;
  const render = () => {
    pending = false;
    renderer.render(scene, camera);
  };
  const requestRender = () => {
    if (!pending) {
      pending = true;
      requestAnimationFrame(render);
    }
  };
  controls.addEventListener('change', requestRender);

  const resize = () => {
    const w = container.clientWidth || 640, h = container.clientHeight || 480;
    renderer.setSize(w, h);
    camera.aspect = w / h;
    camera.updateProjectionMatrix();
    requestRender();
  };
  const observer = typeof ResizeObserver === 'function' ? new ResizeObserver(resize) : null;
  if (observer) observer.observe(container);
  resize();

  // Hover: the model point (a vertex of the triangle hit) nearest the pointer.
  const raycaster = new Raycaster();
  raycaster.params.Line.threshold = 0.01;
  const pointer = new Vector2();
  const pick = (clientX, clientY) => {
    const rect = renderer.domElement.getBoundingClientRect();
    pointer.set(((clientX - rect.left) / rect.width) * 2 - 1, -((clientY - rect.top) / rect.height) * 2 + 1);
    raycaster.setFromCamera(pointer, camera);
    const visible = [...objects.values()].filter((o) => o.object.visible).map((o) => o.object);
    let hits = raycaster.intersectObjects(visible, false);
    if (clipping && plane.visible) hits = hits.filter((h) => clip.distanceToPoint(h.point) >= 0);
    if (hits.length === 0) return null;
    const hit = hits[0];
    const s = hit.object.userData.surface;
    const candidates = hit.face ? [hit.face.a, hit.face.b, hit.face.c] : [hit.index, hit.index + 1];
    const pos = hit.object.geometry.getAttribute('position');
    let best = candidates[0], bestD = Infinity;
    for (const i of candidates) {
      if (i === undefined || i >= pos.count) continue;
      const d = hit.point.distanceToSquared(new Vector3(pos.getX(i), pos.getY(i), pos.getZ(i)));
      if (d < bestD) { bestD = d; best = i; }
    }
    const [T, P, wt] = [s.vertices[3 * best], s.vertices[3 * best + 1], s.vertices[3 * best + 2]];
    return { name: s.name, label: labels[s.name] || s.name, boundary: s.boundary, T, P, wt };
  };
  const onMove = (event) => {
    const info = pick(event.clientX, event.clientY);
    if (options.onHover) {
      options.onHover(info);
      return;
    }
    if (!info) {
      tooltip.style.display = 'none';
      return;
    }
    const rect = container.getBoundingClientRect();
    tooltip.textContent = `${info.label}: ${formatNumber(info.T)} °C, ${formatNumber(info.P)} bar, ${formatNumber(info.wt)} wt%`;
    tooltip.style.left = `${event.clientX - rect.left + 12}px`;
    tooltip.style.top = `${event.clientY - rect.top + 12}px`;
    tooltip.style.display = 'block';
  };
  renderer.domElement.addEventListener('pointermove', onMove);
  const onLeave = () => {
    if (tooltip) tooltip.style.display = 'none';
    if (options.onHover) options.onHover(null);
  };
  renderer.domElement.addEventListener('pointerleave', onLeave);

  // The plane of a section: `kind` an isobar (value in bar), isotherm (C) or
  // isopleth (wt%); `sectionCurves` the section's curves in its own columns
  // (isobar: [wt, T], isotherm: [wt, P], isopleth: [T, P]).
  const setPlane = (kind, value, sectionCurves = []) => {
    for (const c of [...curves.children]) {
      curves.remove(c);
      c.geometry.dispose();
      c.material.dispose();
    }
    const k = kind ? KINDS[kind] : null;
    if (!k || !Number.isFinite(value)) {
      plane.visible = false;
      setClipping();
      requestRender();
      return;
    }
    plane.visible = true;
    plane.rotation.set(0, 0, 0);
    plane.position.set(0, 0, 0);
    let toScene;
    if (k === 'isobar') {
      const y = axes.y(value);
      plane.rotation.x = -Math.PI / 2;
      plane.position.y = y;
      clip.set(new Vector3(0, -1, 0), y);  // keeps what lies below the isobar
      toScene = ([wt, t]) => new Vector3(axes.x(t), y, axes.z(wt));
    } else if (k === 'isotherm') {
      const x = axes.x(value);
      plane.rotation.y = Math.PI / 2;
      plane.position.x = x;
      clip.set(new Vector3(-1, 0, 0), x);  // keeps what lies below the isotherm
      toScene = ([wt, p]) => new Vector3(x, axes.y(p), axes.z(wt));
    } else {
      const z = axes.z(value);
      plane.position.z = z;
      clip.set(new Vector3(0, 0, -1), z);  // keeps what lies below the isopleth
      toScene = ([t, p]) => new Vector3(axes.x(t), axes.y(p), z);
    }
    for (const curve of sectionCurves) {
      const points = [];
      for (const q of curve.points || []) {
        if (q.every(Number.isFinite) && (k === 'isobar' || q[1] > 0)) points.push(toScene(q));
      }
      if (points.length < 2) continue;
      const line = new Line(new BufferGeometry().setFromPoints(points),
        new LineBasicMaterial({ color: curve.colour || '#000000', depthTest: false }));
      line.renderOrder = 2;
      curves.add(line);
    }
    setClipping();
    requestRender();
  };

  return {
    names: [...objects.keys()],
    axes,
    setVisible(name, visible) {
      const o = objects.get(name);
      if (o) o.object.visible = !!visible;
      requestRender();
    },
    setColour(name, colour) {
      const o = objects.get(name);
      if (o) o.object.material.color.set(colour);
      requestRender();
    },
    setPlane,
    // Looks at the centre from [x, y, z] (scene units: the box is 1 wide).
    setCamera([x, y, z]) {
      camera.position.set(x, y, z);
      controls.update();
      requestRender();
    },
    // Cut the surfaces at the plane, keeping the side of lower values.
    setClip(on) {
      clipping = !!on;
      setClipping();
      requestRender();
    },
    pick,
    render,
    resize,
    // Median time of `frames` renders while the view turns, each waited for [ms].
    benchmark(frames = 60) {
      const saved = camera.position.clone();
      const times = [];
      const gl = renderer.getContext();
      const pixel = new Uint8Array(4);
      for (let i = 0; i < frames; ++i) {
        const a = (2 * Math.PI * i) / frames;
        camera.position.set(2.6 * Math.cos(a), 0.9, 2.6 * Math.sin(a));
        camera.lookAt(0, 0, 0);
        const t0 = performance.now();
        renderer.render(scene, camera);
        // Reading a pixel back waits until the frame is drawn.
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
        times.push(performance.now() - t0);
      }
      times.sort((x, y) => x - y);
      camera.position.copy(saved);
      controls.update();
      requestRender();
      return times[Math.floor(times.length / 2)];
    },
    dispose() {
      if (observer) observer.disconnect();
      renderer.domElement.removeEventListener('pointermove', onMove);
      renderer.domElement.removeEventListener('pointerleave', onLeave);
      controls.dispose();
      scene.traverse((o) => {
        if (o.geometry) o.geometry.dispose();
        if (o.material) {
          if (o.material.map) o.material.map.dispose();
          o.material.dispose();
        }
      });
      renderer.dispose();
      renderer.domElement.remove();
      if (tooltip) tooltip.remove();
    },
  };
}
