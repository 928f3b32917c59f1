#!/bin/bash
# ls-best-of.sh IMAGE FILES [RUNS] [CLI]
# Times `keldrin-cli ls --all IMAGE` and `fls -r -p IMAGE` in alternating runs (default five of
# each, page cache warm) and prints the best time of each, their ratio and the peak memory of
# keldrin-cli per file. Alternating and taking the best keeps a shared, busy machine from
# favouring either side. Needs sleuthkit and GNU time.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
image="$1" files="$2" runs="${3:-5}"
cli="${4:-${KELDRIN_CLI:-$here/../build/default/cli/keldrin-cli}}"
python3 - "$cli" "$image" "$files" "$runs" <<'PY'
import os, subprocess, sys, tempfile, time
cli, image, files, runs = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
commands = {"keldrin": [cli, "ls", image, "--all"], "fls": ["fls", "-r", "-p", image]}
best = {k: float("inf") for k in commands}
peak = {k: 0 for k in commands}
with open(os.devnull, "wb") as null, tempfile.NamedTemporaryFile("r") as report:
    for command in commands.values():
        subprocess.run(command, stdout=null, stderr=null)  # warm the page cache
    for _ in range(runs):
        for label, command in commands.items():
            start = time.perf_counter()
            subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                           stdout=null, stderr=null, check=True)
            best[label] = min(best[label], time.perf_counter() - start)
            report.seek(0)
            peak[label] = max(peak[label], int(report.read().split()[-1]))
for label in commands:
    print("%-8s best of %d: %7.3f s  %8d KiB peak" % (label, runs, best[label], peak[label]))
print("speed: %.2fx fls" % (best["fls"] / best["keldrin"]))
print("peak memory: %.0f bytes per file" % (peak["keldrin"] * 1024.0 / files))
PY
