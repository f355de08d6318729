#!/bin/sh
# A stand-in converter: eight heading lines, then each input record with its
# X shifted, written in two parts, the second once the file "go" is there.
{ for i in 1 2 3 4 5 6 7 8; do echo "Heading $i"; done
  tr -d '\r' < Data-in.dat | while IFS=, read n x y z; do echo "$n,$x.25,$y,$z"; done
} > out.tmp
head -n 10 out.tmp > DATA-OUT.DAT
i=0; while [ ! -e go ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done
tail -n +11 out.tmp >> DATA-OUT.DAT
