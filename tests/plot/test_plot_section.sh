#!/usr/bin/env bash
# Behaviour of scripts/plot_section on small hand-written boundary files:
# finding the files of a section from the typed value, cleaning the data,
# labels and legend, outputs, and the refusals. The gnuplot commands that the
# script saves with --gnuplot show exactly what gnuplot was given.
# Ends with a line "plot_section: N passed, M failed"; non-zero on any failure.
set -uo pipefail
export LC_ALL=C
# The sections below are hand-written files: never computed with the
# quarvessin program, even where one is built next to the script. The data
# path through the program is checked at the end.
export QUARVESSIN_PROGRAM=none
# Optional first argument: the real quarvessin program, for the end-to-end
# check of computed sections and their labels.
real_qv=${1:-}
[ -z "$real_qv" ] || real_qv=$(cd "$(dirname "$real_qv")" && pwd)/$(basename "$real_qv")

here=$(cd "$(dirname "$0")" && pwd)
plot="$here/../../scripts/plot_section"
command -v gnuplot >/dev/null 2>&1 || { echo "test_plot_section: gnuplot is missing (apt-get install gnuplot-nox)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/test_plot_section.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
# check NAME COMMAND...: one assertion; the command's status decides.
check() {
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $name"; fi
}
has() { grep -qF -- "$2" "$1"; }
lacks() { ! grep -qF -- "$2" "$1"; }
is_png() { [ "$(head -c 8 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]; }
# The lines of data block $NAME in a saved gnuplot file.
block() { awk -v b="\$$2 << EOD" '$0 == b { on = 1; next } on && $0 == "EOD" { exit } on' "$1"; }
same() { [ "$1" = "$2" ] || { printf '  got:\n%s\n  expected:\n%s\n' "$1" "$2"; return 1; }; }
# run DIR ARGS...: plot_section in DIR, status in $rc, messages in DIR/err.
run() { local d=$1; shift; (cd "$d" && "$plot" "$@" > out 2> err); rc=$?; }

# --- The typed value finds the file names the program builds with %f --------
d=$work/names; mkdir -p "$d"
printf '26.3\t1\n40\t300\n' > "$d/liquid+halite_300.000000bar.dat"
printf '26.3\t0.1\n30\t5000\n' > "$d/liquid+halite_-10.000000c.dat"
for v in 300 3e2 300.0 +300; do
    rm -f "$d/section_isobar_300.000000bar.png"
    run "$d" isobar "$v"
    check "isobar '$v' is drawn from the 300.000000bar files" [ $rc -eq 0 ]
    check "isobar '$v' writes section_isobar_300.000000bar.png" is_png "$d/section_isobar_300.000000bar.png"
done
run "$d" isotherm -10
check "a negative temperature is a value, not an option" [ $rc -eq 0 ]
check "isotherm -10 writes section_isotherm_-10.000000c.png" is_png "$d/section_isotherm_-10.000000c.png"
run "$d" isobar 301
check "isobar 301 finds no file and fails" [ $rc -ne 0 ]
check "the refusal names the section and the missing files" has "$d/err" "no boundary file of the isobaric section at 301 bar (*_301.000000bar.dat)"
# Any boundary file names its section.
printf '0.1\t400\n40\t400\n100\t400\n' > "$d/vapor+liquid+halite_300.000000bar.dat"
rm -f "$d/section_isobar_300.000000bar.png"
run "$work" "$d/vapor+liquid+halite_300.000000bar.dat" --gnuplot "$work/byfile.gp"
check "a boundary file as argument selects its section" [ $rc -eq 0 ]
check "...and its directory for data and picture" is_png "$d/section_isobar_300.000000bar.png"
check "...and draws the other files of the section too" has "$work/byfile.gp" "title 'halite liquidus'"
run "$d" "$d/notes.dat"
check "a file not named like a boundary file is refused" [ $rc -ne 0 ]

# --- Cleaning: only pairs of finite numbers reach gnuplot --------------------
# Hand-written: leading and trailing values that are not numbers, each kind of
# non-finite value the program can write, a run of empty lines, a line with
# three columns, scientific notation, a negative temperature.
d=$work/clean; mkdir -p "$d"
printf '%s\n' "nan	nan" "10	100" "nan	110" "20	120" "-nan	-nan" "30	130" "" "" \
    "inf	140" "40	150" "1e-3	1.5e+02" "50 160 170" "60	170" "5	-5" "-nan	180" \
    > "$d/liquid+halite_300.000000bar.dat"
run "$d" isobar 300 --gnuplot "$d/p.gp"
check "a file with non-finite values is drawn" [ $rc -eq 0 ]
# Expected: the finite pairs in order; every dropped line inside the data
# becomes one empty line (a break in the curve), none at the ends.
check "non-finite points break the curve and are never passed on" same "$(block "$d/p.gp" LH)" \
"10	100

20	120

30	130

40	150
1e-3	1.5e+02

60	170
5	-5"
# On the logarithmic pressure axis a pressure that is not positive cannot be
# drawn either.
printf '%s\n' "10	0" "20	-1" "30	5" "40	1.000000e-30" "45	0.0" "50	7" > "$d/vapor+halite_400.000000c.dat"
run "$d" isotherm 400 --gnuplot "$d/t.gp"
check "an isotherm with zero and negative pressures is drawn" [ $rc -eq 0 ]
check "pressures that are not positive are left out" same "$(block "$d/t.gp" VH)" \
"30	5
40	1.000000e-30

50	7"
# Pieces of one boundary stay separate curves of one data set.
printf '%s\n' "1	1" "2	2" "" "3	3" "4	4" > "$d/liquid+vapor_400.000000c.dat"
run "$d" isotherm 400 --gnuplot "$d/t2.gp"
check "pieces keep their single separating empty line" same "$(block "$d/t2.gp" VL)" "$(printf '1\t1\n2\t2\n\n3\t3\n4\t4')"
check "...and form one data set with one legend entry" [ "$(grep -c "title 'vapour + liquid'" "$d/t2.gp")" -eq 1 ]

# --- Labels and legend ---------------------------------------------------------
d=$work/c2; mkdir -p "$d"
printf '%s\n' "9	1000" "22	610.3" "45	1000" > "$d/vapor+liquid_2000.000000bar.dat"
printf '%s\n' "26.3	1" "100	849" "100	849" > "$d/liquid+halite_2000.000000bar.dat"
printf '%s\n' "nan	700" "-nan	800" > "$d/vapor+halite_2000.000000bar.dat"
run "$d" isobar 2000 --svg --gnuplot "$d/p.gp"
check "a section with a file of no finite point is still drawn" [ $rc -eq 0 ]
check "...and that file is reported as left out" has "$d/err" "vapor+halite_2000.000000bar.dat has no finite point, left out"
check "...and has no legend entry" lacks "$d/p.gp" "vapour + halite"
check "the vapor+liquid_ file is labelled vapour + liquid" has "$d/p.gp" "title 'vapour + liquid'"
check "the liquidus is labelled halite liquidus" has "$d/p.gp" "title 'halite liquidus'"
check "isobaric title" has "$d/p.gp" "set title 'H2O–NaCl, isobaric section at 2000 bar'"
check "x axis is NaCl in wt% from 0 to 100" has "$d/p.gp" "set xrange [0:100]"
check "isobaric y axis is linear" lacks "$d/p.gp" "logscale"
# The labels must reach the picture itself, not only the commands.
svg=$d/section_isobar_2000.000000bar.svg
check "--svg writes an SVG beside the PNG" is_png "$d/section_isobar_2000.000000bar.png"
check "...whose text holds the title" has "$svg" "isobaric section at 2000 bar"
check "...and the legend entries" has "$svg" "halite liquidus"

d=$work/iso; mkdir -p "$d"
printf '%s\n' "1.000000e+02	2.100000e-06" "3.500000e-01	3.796000e+02" > "$d/vapor+halite_400.500000c.dat"
printf '%s\n' "0.35	379.6" "72	379.6" "100	379.6" > "$d/vapor+liquid+halite_400.500000c.dat"
run "$d" isotherm 400.5 --gnuplot "$d/t.gp" --output "$d/pic.png"
check "isothermal section at 400.5 C" [ $rc -eq 0 ]
check "isothermal title keeps the decimals of the value" has "$d/t.gp" "set title 'H2O–NaCl, isothermal section at 400.5 °C'"
check "isothermal pressure axis is logarithmic" has "$d/t.gp" "set logscale y"
check "the three-phase tie line is drawn with its corner points" has "$d/t.gp" "\$VLH with linespoints"
check "scientific notation is read as numbers" same "$(block "$d/t.gp" VH)" "$(printf '1.000000e+02\t2.100000e-06\n3.500000e-01\t3.796000e+02')"
check "--output names the PNG" is_png "$d/pic.png"
check "...and no default-named picture appears" [ ! -e "$d/section_isotherm_400.500000c.png" ]

# --- Outputs ---------------------------------------------------------------------
run "$d" isotherm 400.5 --output "$d/only.svg"
check "an .svg output writes an SVG" has "$d/only.svg" "<svg"
check "...and no PNG" [ ! -e "$d/only.png" ]
check "...not even under the default name" [ ! -e "$d/section_isotherm_400.500000c.png" ]
run "$d" isotherm 400.5 --svg --output "$d/both.png"
check "--svg with --output writes the PNG" is_png "$d/both.png"
check "...and the SVG beside it" has "$d/both.svg" "<svg"

# --- Refusals ------------------------------------------------------------------
d=$work/refuse; mkdir -p "$d"
printf '%s\n' "nan	nan" "" "inf	1" > "$d/liquid+halite_300.000000bar.dat"
run "$d" isobar 300
check "files without a finite point give an error" [ $rc -ne 0 ]
check "...that says so" has "$d/err" "hold no finite point"
check "...and no picture" [ ! -e "$d/section_isobar_300.000000bar.png" ]
run "$d" isobar abc
check "a value that is not a number is refused" [ $rc -ne 0 ]
check "...with a message naming it" has "$d/err" "'abc' is not a number"
run "$d" isochore 300
check "an unknown kind of section is refused" [ $rc -eq 2 ]
check "...naming the two kinds of file" has "$d/err" "of an isobar or an isotherm, not 'isochore'"
printf '26.3\t1\n40\t300\n' > "$d/liquid+halite_300.000000bar.dat"
for word in isobars isobaric; do
    rm -f "$d/section_isobar_300.000000bar.png"
    run "$d" "$word" 300
    check "the files of an isobar are found by the word $word" is_png "$d/section_isobar_300.000000bar.png"
done
rm -f "$d/liquid+halite_300.000000bar.dat"
run "$d" --colour isobar 300
check "an unknown option is refused" [ $rc -ne 0 ]
run "$d"
check "no arguments fail" [ $rc -ne 0 ]
check "...and print the usage" has "$d/err" "Usage:"
run "$d" -h
check "-h succeeds" [ $rc -eq 0 ]
check "...and prints the usage" has "$d/out" "Usage:"
# Without gnuplot on the search path the script says how to install it.
bin=$work/bin; mkdir -p "$bin"
for tool in bash awk grep; do ln -s "$(command -v $tool)" "$bin/$tool"; done
(cd "$d" && PATH=$bin "$plot" isobar 300 > out 2> err); rc=$?
check "without gnuplot the script fails" [ $rc -ne 0 ]
check "...and names the package to install" has "$d/err" "apt-get install gnuplot-nox"

# --- Data from the quarvessin program ---------------------------------------------
# A stand-in program that records its arguments, takes the six kind words and
# refuses others as the real one does, and writes a json section: two
# boundaries (the second piece of one, a null point), strings with quotes,
# brackets and colons to mislead a reader, and two phase fields.
d=$work/prog; mkdir -p "$d"
fake=$work/fake_quarvessin
cat > "$fake" <<'FAKE'
#!/usr/bin/env bash
printf '%s\n' "$*" >> "${FAKE_LOG:?}"
[ "$1" = section ] || { echo "fake: only sections" >&2; exit 1; }
case $2 in
    isobar|isobars|isobaric) ;;
    isotherm|isotherms|isothermal) echo "fake: no isotherms here" >&2; exit 1 ;;
    *) echo "quarvessin section: the kind of section must be isobar or isotherm, not '$2'" >&2; exit 2 ;;
esac
dir=.
while [ $# -gt 0 ]; do [ "$1" = --dir ] && dir=$2; shift; done
printf '%s' '{"kind":"isobar","value":300,"unit":"bar","accepted":true,' \
    '"columns":["wt_percent","temperature_C"],"boundaries":[' \
    '{"id":"liquidus","label":"LH","legend":"liquidus, [as] \"given\"","colour":"#12ab3c","dots":false,' \
    '"phases":"liquid+halite","file":"liquid+halite_300.000000bar.dat",' \
    '"branches":["",""],"pieces":[[[26.3,100],[40,300]]]},' \
    '{"id":"vapor+liquid","label":"VL","phases":"liquid+vapor","file":"liquid+vapor_300.000000bar.dat",' \
    '"branches":["loop","liquid"],"pieces":[[[1,200],[null,250],[3,300]],[[5,400],[6e0,5e2]]]}],' \
    '"fields":[{"name":"L","assemblage":"liquid","wt_percent":12.5,"temperature_C":150.25},' \
    '{"name":"L+H","assemblage":"liquid+halite","wt_percent":75,"temperature_C":1.5e2}],' \
    '"console":"a \"quoted\" [text], {x}: \\\"y\\\\","warnings":["w: [1, 2]"]}' > "$dir/isobar_300bar.json"
echo "quarvessin: warning: a warning of the section" >&2
FAKE
chmod +x "$fake"
export FAKE_LOG=$d/log
(cd "$d" && QUARVESSIN_PROGRAM=$fake "$plot" isobaric 300 --gnuplot "$d/p.gp" > out 2> err); rc=$?
check "a section computed by the program is drawn" [ $rc -eq 0 ]
check "...in one call, the kind word as typed, as json at display resolution" \
    same "$(cat "$d/log")" "section isobaric 300 --format json --fine --quiet --jobs 1 --dir $(awk '{ print $NF }' "$d/log")"
check "...drawn into the current directory" is_png "$d/section_isobar_300.000000bar.png"
check "...with the program's warnings passed on" has "$d/err" "a warning of the section"
check "json pieces become pieces, a null a break" same "$(block "$d/p.gp" VL)" "$(printf '1\t200\n\n3\t300\n\n5\t400\n6e0\t5e2')"
check "...and each boundary its own data set" same "$(block "$d/p.gp" LH)" "$(printf '26.3\t100\n40\t300')"
check "the phase fields are labelled where the json places them" \
    same "$(grep '^set label' "$d/p.gp")" "set label 'L' at 12.5, 150.25 center front font \",13\" tc rgb \"#333333\"
set label 'L+H' at 75, 1.5e2 center front font \",13\" tc rgb \"#333333\""
check "the temperature axis is in °C" has "$d/p.gp" "set ylabel 'temperature [°C]'"
check "a boundary has the json's legend and colour" has "$d/p.gp" "\$LH with lines lw 2 lc rgb '#12ab3c' title 'liquidus, [as] \"given\"'"
check "...one without them its file name and black" has "$d/p.gp" "\$VL with lines lw 2 lc rgb '#000000' title 'liquid+vapor_300.000000bar.dat'"
check "the title names the json's value" has "$d/p.gp" "set title 'H2O–NaCl, isobaric section at 300 bar'"
: > "$FAKE_LOG"
(cd "$d" && QUARVESSIN_PROGRAM=$fake "$plot" isobars 3e2 --no-labels --logx --gnuplot "$d/q.gp" > out 2> err); rc=$?
check "--logx draws" [ $rc -eq 0 ]
check "...the value as typed to the program" has "$d/log" "section isobars 3e2 --format json"
check "...NaCl on a logarithmic axis" has "$d/q.gp" "set logscale x"
check "...from the decade of the smallest composition" has "$d/q.gp" "set xrange [1e-1:100]"
check "--no-labels draws none" lacks "$d/q.gp" "set label"
: > "$FAKE_LOG"
(cd "$d" && QUARVESSIN_PROGRAM=$fake "$plot" isobr 300 > out 2> err); rc=$?
check "a kind word the program refuses fails with its status" [ $rc -eq 2 ]
check "...and its message alone" same "$(cat "$d/err")" "quarvessin section: the kind of section must be isobar or isotherm, not 'isobr'"
(cd "$d" && QUARVESSIN_PROGRAM=$fake "$plot" isotherm 400 > out 2> err); rc=$?
check "a failure of the program is passed on" [ $rc -eq 1 ]
check "...with its message" has "$d/err" "fake: no isotherms here"
check "...and no picture" [ ! -e "$d/section_isotherm_400.000000c.png" ]
check "no point is ever asked" lacks "$d/log" "point"
(cd "$d" && QUARVESSIN_PROGRAM=$fake "$plot" --files isobar 300 > out 2> err); rc=$?
check "--files draws files, not the program's section" [ $rc -ne 0 ]
check "...and says which files are missing" has "$d/err" "no boundary file of the isobaric section at 300 bar"
(cd "$d" && "$plot" --program "$d/none" isobar 300 > out 2> err); rc=$?
check "a --program that is not there is refused" [ $rc -eq 2 ]
for section in "isopleth 10" projection; do
    # shellcheck disable=SC2086
    (cd "$d" && QUARVESSIN_PROGRAM=none "$plot" $section > out 2> err); rc=$?
    check "without the program, $section is refused" [ $rc -eq 2 ]
    check "...saying it needs the program" has "$d/err" "needs the quarvessin program"
done
if [ -n "$real_qv" ]; then
    d=$work/real; mkdir -p "$d"
    # field_labels JSON: "NAME X Y" of each field of the program's json, read
    # by Python's json module (independently of the script's reader), the
    # numbers as the json writes them.
    field_labels() {
        python3 -c 'import json, sys
text = open(sys.argv[1]).read()
s = json.loads(text)
for f in s["fields"]:
    print(f["name"], *(json.dumps(f[c]) for c in s["columns"]))' "$1"
    }
    script_labels() { sed -n "s/^set label '\([^']*\)' at \([^,]*\), \([^ ]*\) center.*/\1 \2 \3/p" "$1"; }
    for section in "isotherm 400" "isobar 1" "isotherm 795" "isobar 300"; do
        # shellcheck disable=SC2086
        (cd "$d" && "$plot" --program "$real_qv" $section --gnuplot "$d/s.gp" > out 2> err); rc=$?
        check "the real program's $section is drawn" [ $rc -eq 0 ]
        rm -rf "$d/json"; mkdir "$d/json"
        # shellcheck disable=SC2086
        "$real_qv" section $section --format json --fine -q --dir "$d/json"
        if command -v python3 >/dev/null 2>&1; then
            check "...with every label of the program's json and no other" \
                same "$(script_labels "$d/s.gp")" "$(field_labels "$d/json/"*.json)"
        fi
        check "...with some label" has "$d/s.gp" "set label "
    done
    check "...the isobar's labels above 700 °C too" awk '/^set label/ { sub(/ center.*/, ""); if ($NF + 0 > 700) n++ } END { exit !(n > 0) }' "$d/s.gp"
    (cd "$d" && "$plot" --program "$real_qv" isotherm 400 --logx --gnuplot "$d/t.gp" > out 2> err); rc=$?
    check "the real program's isotherm at 400 °C on a log NaCl axis" [ $rc -eq 0 ]
    check "...with its title in °C" has "$d/t.gp" "isothermal section at 400 °C"
    for field in V L L+H V+H; do
        check "...and its field $field labelled" has "$d/t.gp" "set label '$field' at "
    done
    # The vapour + halite curve at display resolution: more than a few points
    # between 1 and 99 wt% (linear sampling in pressure leaves one or two).
    mid=$(block "$d/t.gp" VH | awk 'NF == 2 && $1 > 1 && $1 < 99' | wc -l)
    check "...and the vapour + halite curve shows its shape ($mid points within 1 to 99 wt%)" [ "$mid" -ge 5 ]
    # Isopleths and the projection: the pressure-temperature plane, pressure
    # logarithmic, every boundary with the legend and colour of the
    # program's json (read by Python's json module, independently of the
    # script's reader), the projection's tie-line style not dotting its curve.
    style_lines() {
        python3 -c 'import json, sys
s = json.load(open(sys.argv[1]))
seen = set()
for b in s["boundaries"]:
    if b["legend"] not in seen:
        seen.add(b["legend"])
        print(b["colour"], b["legend"])' "$1"
    }
    script_styles() { sed -n "s/.* lc rgb '\(#[0-9a-f]*\)' title '\([^']*\)'.*/\1 \2/p" "$1"; }
    for section in "isopleth 10" "isopleths 37.5" projection; do
        rm -f "$d"/section_*.png
        # shellcheck disable=SC2086
        (cd "$d" && "$plot" --program "$real_qv" $section --gnuplot "$d/pt.gp" > out 2> err); rc=$?
        check "the real program's $section is drawn" [ $rc -eq 0 ]
        check "...into one picture" is_png "$(ls "$d"/section_*.png)"
        check "...temperature across over the correlations' range" has "$d/pt.gp" "set xrange [0:1000]"
        check "...in °C" has "$d/pt.gp" "set xlabel 'temperature [°C]'"
        check "...pressure up, logarithmic" has "$d/pt.gp" "set logscale y"
        check "...and its label" has "$d/pt.gp" "set ylabel 'pressure [bar]'"
        rm -rf "$d/json"; mkdir "$d/json"
        # shellcheck disable=SC2086
        "$real_qv" section $section --format json --fine -q --dir "$d/json"
        if command -v python3 >/dev/null 2>&1; then
            check "...each boundary in the program's colour with its legend" \
                same "$(script_styles "$d/pt.gp")" "$(style_lines "$d/json/"*.json)"
        fi
    done
    check "the projection is named as such" has "$d/pt.gp" "set title 'H2O–NaCl, pressure–temperature projection'"
    check "...its picture too" is_png "$d/section_projection.png"
    check "...its three-phase curve a line" has "$d/pt.gp" "\$VLH with lines lw 2"
    check "...with no phase-field label" lacks "$d/pt.gp" "set label"
    (cd "$d" && "$plot" --program "$real_qv" isopleth 10 --gnuplot "$d/pt.gp" > out 2> err)
    check "the isopleth's title in wt%" has "$d/pt.gp" "set title 'H2O–NaCl, isoplethal section at 10 wt%'"
    check "...its picture named like its files" is_png "$d/section_isopleth_10.000000wt.png"
    check "...its fields labelled" has "$d/pt.gp" "set label 'V+L' at "
    (cd "$d" && "$plot" --program "$real_qv" projection 5 > out 2> err); rc=$?
    check "a value given to the projection is refused by the program" [ $rc -eq 2 ]
    check "...with its message" has "$d/err" "projection takes no value"
    for word in isobar isobars isobaric isotherm isotherms isothermal; do
        (cd "$d" && "$plot" --program "$real_qv" "$word" 300 --no-labels > out 2> err); rc=$?
        check "the kind word $word is taken" [ $rc -eq 0 ]
    done
    (cd "$d" && "$plot" --program "$real_qv" isobarz 300 > out 2> err); rc=$?
    check "a word the program refuses fails with its status" [ $rc -eq 2 ]
    check "...and its message" has "$d/err" "the kind of section must be isobar, isotherm"
    (cd "$d" && "$plot" --program "$real_qv" isobar 6000 > out 2> err); rc=$?
    check "a value the program refuses fails with its status" [ $rc -eq 2 ]
    check "...and its message" has "$d/err" "out of range"
    # Labels cost one program call, not a process per point.
    start=$(date +%s%N)
    (cd "$d" && "$plot" --program "$real_qv" isobar 300 > out 2> err)
    ms=$(( ($(date +%s%N) - start) / 1000000 ))
    echo "plot_section isobar 300 with labels: $ms ms"
    check "isobar 300 with labels in well under the three seconds of point processes ($ms ms)" [ "$ms" -lt 2000 ]
fi

echo "plot_section: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
