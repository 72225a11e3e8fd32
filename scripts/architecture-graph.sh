#!/usr/bin/env bash
# architecture-graph.sh - draws docs/architecture.svg, the libraries of the
# native build and what each links, from the build's own targets.
#
#   scripts/architecture-graph.sh [OUT.svg]    default docs/architecture.svg
#
# CMake writes the whole target graph (cmake --graphviz); this keeps the
# libraries, the plug-in and vantorel-host, drops tests, tools and system
# libraries, keeps of the links only those no longer path gives (tred), and
# lays the rest out top-down with Graphviz's dot. Needs cmake,
# python3 and graphviz (apt-get install graphviz).
# Exit status: 0 drawn, 1 a tool failed, 2 bad usage.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  -*) echo "architecture-graph.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
esac
out=${1:-docs/architecture.svg}
command -v dot >/dev/null || { echo "architecture-graph.sh: needs Graphviz's dot (apt-get install graphviz)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S . -B "$work/build" --graphviz="$work/targets.dot" >/dev/null

python3 - "$work/targets.dot" "$work/layers.dot" <<'PY'
import re, sys
src, dst = sys.argv[1], sys.argv[2]
text = open(src).read()
labels = dict(re.findall(r'"(node\d+)" \[ label = "([^"]+)"', text))
edges = re.findall(r'"(node\d+)" -> "(node\d+)"', text)
# The layers, top to bottom, as cmake/layers.cmake gives them.
layers = [
    ("front ends", ["vantorel-host", "vantorel_host_cli", "vantorel_window", "vantorel_window_logic"]),
    ("workspace", ["vantorel_session", "vantorel_file_store", "vantorel_validate"]),
    ("sessions", ["vantorel_script", "vantorel_render"]),
    ("host", ["vantorel_sim"]),
    ("files", ["vantorel_scenefile", "vantorel_fileio"]),
    ("ground", ["vantorel_scene", "vantorel_session_store"]),
    ("plug-in", ["vantorel_plugin", "vantorel_plugin_objects"]),
]
keep = {name for _, names in layers for name in names}
ids = {label: node for node, label in labels.items() if label in keep}
out = ['digraph architecture {', '  rankdir=TB; nodesep=0.35; ranksep=0.5;',
       '  node [shape=box, style="rounded,filled", fillcolor="#f4f4f4", fontname="Helvetica", fontsize=11];',
       '  edge [color="#666666", arrowsize=0.6];']
out.append('  { rank=same; "vantorel_scene"; "vantorel_session_store"; "vantorel_fileio"; }')
seen = set()
for a, b in edges:
    la, lb = labels.get(a), labels.get(b)
    if la in ids and lb in ids and (la, lb) not in seen and la != lb:
        seen.add((la, lb))
        out.append('  "%s" -> "%s";' % (la, lb))
out.append('}')
open(dst, 'w').write('\n'.join(out) + '\n')
PY
# Only the links that no longer path gives: each arrow is a real dependency.
tred "$work/layers.dot" >"$work/reduced.dot"
dot -Tsvg "$work/reduced.dot" -o "$out"
[ -z "${ARCH_DOT:-}" ] || cp "$work/reduced.dot" "$ARCH_DOT"
echo "$out"
