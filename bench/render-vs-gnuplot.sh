#!/usr/bin/env bash
# Renders the largest graph (3 x 250 points, error bars, value labels,
# 20 X labels, title, captions) to PNG (or SVG) with gd2 and with gnuplot's
# pngcairo (or svg) terminal at the window's 750 x 545, and prints CPU time,
# wall time and peak memory of each:
#   (a) one graph per process, the median of RUNS runs;
#   (b) 100 graphs in one process.
#   bench/render-vs-gnuplot.sh [build] [runs] [png|svg]
# Needs gnuplot-nox and GNU time (apt-get install gnuplot-nox time).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-5}"
format="${3:-png}"
terminal=pngcairo
[ "$format" = svg ] && terminal=svg
gd2="$build/gd2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The graph, made by gd2 new: three full curves, every option on, 20 labels.
awk 'BEGIN { print "curve,x,y"; for (c = 1; c <= 3; c++) for (j = 0; j < 250; j++)
  printf "%d,%d,%.4f\n", c, int(j * 670 / 249), 50 + 40 * sin(j / 10 + c) }' > "$work/rows.csv"
labels=$(seq -s, -f 'Week%g' 1 20)
"$gd2" new -o "$work/graph.gd2" --title "Three full curves with every option" --labels "$labels" \
  --divisions 3 --ymin 0 --ymax 100 --error 10 --connect --large --label-points --thick \
  --captions "Red: first series,Green: second series,Blue: third series" --caption-box 480,35 "$work/rows.csv"
"$gd2" csv "$work/graph.gd2" | awk -F, 'NR > 1 { print > ("'"$work"'/curve" $1 ".dat") }'
for c in 1 2 3; do sed -i 's/,/ /g' "$work/curve$c.dat"; done
cat > "$work/plot.gp" <<GP
set terminal $terminal size 750,545 font "Liberation Sans,8"
set title "Three full curves with every option switched on" font "Liberation Sans,14"
set yrange [0:100]
set xrange [0:670]
set xtics ("Week 1" 0, "Week 5" 120, "Week 10" 270, "Week 15" 420, "Week 20" 570)
set key top right
set style fill solid
GP
plotline='plot for [c=1:3] sprintf("'"$work"'/curve%d.dat", c) using 2:3:($3*0.1) with yerrorlines lw 2 pt 7 ps 0.6 title sprintf("Series %d", c), for [c=1:3] sprintf("'"$work"'/curve%d.dat", c) using 2:3:(sprintf("%.1f", $3)) with labels offset 0,1 font ",6" notitle'
one="$work/one.gp"
{ cat "$work/plot.gp"; echo "set output \"$work/gnuplot.$format\""; echo "$plotline"; } > "$one"
many="$work/many.gp"
{ cat "$work/plot.gp"; for i in $(seq 100); do echo "set output \"$work/g/$i.$format\""; echo "$plotline"; done; } > "$many"
mkdir -p "$work/g" "$work/d"
for i in $(seq 100); do cp "$work/graph.gd2" "$work/in$i.gd2"; done

# user+sys seconds, wall seconds, peak KiB
measure() { /usr/bin/time -f '%U %S %e %M' -o "$work/t" "$@" >/dev/null 2>&1; awk '{ printf "%.3f %.3f %d\n", $1 + $2, $3, $4 }' "$work/t"; }
median() { sort -n -k1,1 | awk '{ a[NR] = $0 } END { print a[int((NR + 1) / 2)] }'; }

a_gd2=$(for i in $(seq "$runs"); do measure "$gd2" render "$work/graph.gd2" -o "$work/gd2.$format"; done | median)
a_gp=$(for i in $(seq "$runs"); do measure gnuplot "$one"; done | median)
b_gd2=$(measure "$gd2" render "$work"/in*.gd2 --out-dir "$work/d" --format "$format")
b_gp=$(measure gnuplot "$many")

row() { read -r cpu wall mem <<<"$2"; printf '%-34s %8.3f s CPU %8.3f s wall %8.1f MiB peak\n' "$1" "$cpu" "$wall" "$(echo "$mem / 1024" | bc -l)"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); printf "  gd2 / gnuplot: CPU %.2f, wall %.2f, memory %.2f\n", x[1] / y[1], x[2] / y[2], x[3] / y[3] }'; }
echo "(a) one graph per process, median of $runs"
row "gd2 render" "$a_gd2"
row "gnuplot $terminal" "$a_gp"
ratio "$a_gd2" "$a_gp"
echo "(b) 100 graphs in one process"
row "gd2 render --out-dir" "$b_gd2"
row "gnuplot, 100 outputs" "$b_gp"
ratio "$b_gd2" "$b_gp"
