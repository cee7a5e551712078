"""The guide's links lead somewhere: every relative link of README.md and
docs/*.md names a file of the repository, and every #anchor a heading of that
page (anchors as a repository host makes them from the heading's text), and
the README links each front end's page."""

import os
import re
from pathlib import Path

ROOT = Path(os.environ.get("QUARVESSIN_SOURCE_DIR") or Path(__file__).resolve().parents[2])
PAGES = [ROOT / "README.md"] + sorted((ROOT / "docs").glob("*.md"))
LINK = re.compile(r"\]\(([^)\s]+)\)")


def anchors(page):
    """The anchors of a page's headings: lower case, punctuation dropped, spaces to hyphens."""
    text = re.sub(r"```.*?```", "", page.read_text(encoding="utf-8"), flags=re.S)
    out = set()
    for heading in re.findall(r"^#+ (.+)$", text, re.M):
        slug = re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")
        out.add(slug)
    return out


def test_every_link_resolves():
    broken = []
    for page in PAGES:
        text = re.sub(r"```.*?```", "", page.read_text(encoding="utf-8"), flags=re.S)
        for target in LINK.findall(text):
            if re.match(r"[a-z]+:", target):
                continue  # a web address
            path, _, anchor = target.partition("#")
            file = (page.parent / path).resolve() if path else page
            if not file.exists():
                broken.append(f"{page.name}: {target} (no such file)")
            elif anchor and file.suffix == ".md" and anchor not in anchors(file):
                broken.append(f"{page.name}: {target} (no such heading)")
    assert not broken, "\n".join(broken)


def test_readme_reaches_every_page_in_one_click():
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    for page in PAGES[1:]:
        assert f"](docs/{page.name})" in readme, page.name
    assert len(readme.splitlines()) <= 200
