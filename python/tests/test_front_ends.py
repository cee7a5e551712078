"""Python and the command line say the same: the bytes of csv and json files,
the kind words and their refusals, the refusal of a value, the point query's
json."""

import json
import math

import pytest

import quarvessin as qv

# Each kind word of the table once, with values of every isobaric case and
# isotherms below 0.01 C, below and above the critical point of water and
# just below the triple point of NaCl.
SECTIONS = [("isobar", "1"), ("isobars", "300"), ("isobaric", "2000"),
            ("isotherm", "-20"), ("isotherms", "400"), ("isothermal", "800.69")]


def command_line_files(program, tmp_path, *options):
    """{file name: text} of one `quarvessin section` call for every section of SECTIONS."""
    args = ["section"] + [a for pair in SECTIONS for a in pair] + list(options) + \
        ["--quiet", "--dir", str(tmp_path)]
    run = program(*args)
    assert run.returncode == 0, run.stderr
    return {p.name: p.read_text() for p in tmp_path.iterdir()}


@pytest.mark.parametrize("fmt, fine", [("csv", False), ("json", False), ("json", True)])
def test_files_are_the_command_lines_bytes(program, tmp_path, fmt, fine):
    files = command_line_files(program, tmp_path, "--format", fmt, *(["--fine"] if fine else []))
    assert len(files) == len(SECTIONS)
    for word, value in SECTIONS:
        s = qv.section(word, float(value), fine=fine)
        name = s.file_name(fmt)
        assert name in files, (name, sorted(files))
        assert s.format(fmt) == files[name], name
    if fmt == "json":
        # The json carries the labels Section.fields holds, and the
        # identities, branches and points of the Boundary objects.
        for word, value in SECTIONS:
            s = qv.section(word, float(value), fine=fine)
            written = json.loads(s.format("json"))
            assert written["fields"] == s.fields
            assert written["columns"] == list(s.columns)
            assert [(b["id"], b["phases"], b["file"], b["branches"]) for b in written["boundaries"]] == \
                [(b.id, b.phases, b.file_name, list(b.branches)) for b in s.boundaries]
            for b, w in zip(s.boundaries, written["boundaries"]):
                assert [[[None if math.isnan(v) else v for v in row] for row in piece.tolist()]
                        for piece in b.pieces] == w["pieces"]


def test_kind_words_are_the_command_lines(program):
    # Every word of the table is taken by the command line.
    for kind in qv.KINDS:
        for word in filter(None, (kind["word"], kind["plural"], kind["adjective"])):
            run = program("section", word, "1", "--format", "csv", "--dir", "/dev/null/x")
            assert "kind of section" not in run.stderr, word
    # Words that name no kind: the same refusal.
    for word in ["bogus", "Isobar", "isobarics", "isotherm-", "i\tsobar"]:
        run = program("section", word, "1")
        assert run.returncode == 2
        with pytest.raises(ValueError) as refusal:
            qv.section(word, 1.0)
        assert str(refusal.value) in run.stderr, (word, run.stderr)
        assert str(refusal.value) == qv._core.unknown_kind_message(word)


@pytest.mark.parametrize("word, value", [("isobar", "6000"), ("isobar", "0.5"),
                                         ("isotherm", "800.7"), ("isotherm", "-300"),
                                         ("isotherm", "-273.15")])
def test_values_out_of_range_are_refused_alike(program, word, value):
    run = program("section", word, value)
    assert run.returncode == 2
    s = qv.section(word, float(value))
    assert not s.accepted
    assert run.stderr == f"quarvessin section: {s.refusal}\n"


@pytest.mark.parametrize("args, kwargs", [
    (("25", "100", "--wt", "10"), {"wt": 10.0}),
    (("400", "250", "--x", "0.01"), {"x": 0.01}),
    (("400", "500"), {}),
    (("-20", "524", "--wt", "27"), {"wt": 27.0}),
])
def test_point_answers_are_the_command_lines_json(program, args, kwargs):
    run = program("point", *args, "--json")
    assert run.returncode == 0, run.stderr
    answer = qv.point(float(args[0]), float(args[1]), **kwargs)
    assert answer.pop("accepted") is True and answer.pop("refusal") == ""
    assert answer == json.loads(run.stdout)


def test_point_refusals_are_the_command_lines(program):
    for args, kwargs in [(("1001", "100"), {}), (("25", "0"), {}), (("25", "1", "--wt", "101"), {"wt": 101.0})]:
        run = program("point", *args)
        assert run.returncode == 2
        answer = qv.point(float(args[0]), float(args[1]), **kwargs)
        assert not answer["accepted"]
        assert run.stderr == f"quarvessin point: {answer['refusal']}\n"
