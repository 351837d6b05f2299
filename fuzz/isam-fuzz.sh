#!/bin/sh
# Runs the Jet or the Paradox fuzz target for a while (600 s unless given), seeded from the
# shared test data, one job at a time at low priority; findings go to the artifacts folder and
# the run goes on after them.
#   fuzz/isam-fuzz.sh <clang build folder> mdb|paradox [seconds]
set -eu
build=$1
format=$2
seconds=${3:-600}
data=$(cd "$(dirname "$0")/.." && pwd)/../shared/testdata
[ -d "$data" ] || data=$(cd "$(dirname "$0")/.." && pwd)/../../shared/testdata
work=/dev/shm/kv_fuzz_$format
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"

# Four bytes, least significant first.
le32() {
    n=$1
    for _ in 1 2 3 4; do
        printf "\\$(printf %o $((n % 256)))"
        n=$((n / 256))
    done
}

case $format in
mdb)
    # An input picks one of the target's small databases and changes a few bytes of it.
    for i in 0 1 2 3 4 5 6 7; do
        printf "\\$(printf %o "$i")\\000" >"$work/seeds/v$i"
    done
    # The OLE value of database 7 with its chain turned back on itself: page 38 names 37.
    printf '\007\000\014\060\001\000\015\060\001\045' >"$work/seeds/kette"
    maxlen=256
    ;;
paradox)
    # The table's length, the table, then its blob file, for the tables up to 16 KB.
    find "$data/paradox" -iname '*.db' -size -17k | while read -r db; do
        mb=${db%.*}.mb
        [ -f "$mb" ] || mb=${db%.*}.MB
        seed="$work/seeds/$(basename "$(dirname "$db")")_$(basename "$db")"
        {
            le32 "$(stat -c %s "$db")"
            cat "$db"
            if [ -f "$mb" ]; then head -c 16384 "$mb"; fi
        } >"$seed"
    done
    maxlen=40000
    ;;
*)
    echo "mdb oder paradox" >&2
    exit 2
    ;;
esac

exec nice -n 10 "$build/bin/fuzz_$format" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 \
    -ignore_ooms=1 -close_fd_mask=2 -max_total_time="$seconds" -max_len="$maxlen" \
    -len_control=0 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "$work/seeds"
