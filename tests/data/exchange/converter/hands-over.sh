#!/bin/sh
# A stand-in converter that hands its work to another program and ends at
# once: that one waits for the file "go", then writes eight heading lines
# and each input record with its X shifted, the output whole at once.
(i=0; while [ ! -e go ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done
{ for i in 1 2 3 4 5 6 7 8; do echo "Heading $i"; done
  tr -d '\r' < Data-in.dat | while IFS=, read n x y z; do echo "$n,$x.25,$y,$z"; done
} > out.tmp
mv out.tmp DATA-OUT.DAT) </dev/null >/dev/null 2>&1 &
