# Peer: gnuplot drawing the same three curves as "Todas" with axes and
# labels into a 709 x 397 pixel PNG.
set terminal png size 709,397
set output '/dev/null'
set samples 9501
set xrange [0:10]
set yrange [-30:30]
set xtics 1
set ytics 12
set key off
plot 20*sin(x) lc rgb '#0000e1', 10*sin(2*x) lc rgb '#00e100', 20*sin(x)+10*sin(2*x) lc rgb '#e10000'
