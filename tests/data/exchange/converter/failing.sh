#!/bin/sh
# A stand-in converter that fails, with more to say than the report shows.
for i in 1 2 3 4 5 6 7; do echo "problem $i" >&2; done
exit 3
