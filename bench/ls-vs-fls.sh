# Sourced by the *-ls-bench.sh scripts: times `keldrin-cli ls --all` against `fls -r -p` on one image
# (page cache warm) and prints both, their ratio and the peak memory per file.
# compare_ls_with_fls WORKDIR CLI IMAGE FILES
compare_ls_with_fls() {
    local work="$1" cli="$2" image="$3" files="$4"
    local keldrin_s keldrin_kib fls_s fls_kib
    measure() {  # label command...
        local label="$1" seconds kib lines
        shift
        "$@" >/dev/null 2>&1  # warm the page cache
        /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" > "$work/$label.out" 2>/dev/null
        read -r seconds kib < "$work/time.txt"
        lines=$(wc -l < "$work/$label.out")
        printf '%-12s %8.3f s  %8d KiB peak  %8d lines\n' "$label" "$seconds" "$kib" "$lines"
        eval "${label}_s=$seconds; ${label}_kib=$kib"
    }
    measure keldrin "$cli" ls "$image" --all
    measure fls fls -r -p "$image"
    python3 - "$keldrin_s" "$fls_s" "$keldrin_kib" "$files" <<'PY'
import sys
k, f, kib, files = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
print("speed: %.1fx fls" % (f / k if k > 0 else float("inf")))
print("peak memory: %.0f bytes per file" % (kib * 1024.0 / files))
PY
}
