#!/usr/bin/env bash
# check-includes.sh - the layering rules that the link graph (cmake/layers.cmake)
# cannot see, checked on the sources themselves:
#   - scene/ and scenefile/ include nothing of sim/;
#   - sim/, render/, scene/, script/, session/ and web/ include nothing of cli/ or window/;
#   - no SDL header outside window/;
#   - sim/ names no command-line option in its texts;
#   - no label or choice item of the editor's panel in sim/ outside the roles
#     table and panel_facts.h.
# Usage: check-includes.sh SOURCE_DIR. Exit status 0 when every rule holds.
set -uo pipefail
cd "${1:?usage: check-includes.sh SOURCE_DIR}" || exit 2
status=0
fail() { echo "FAIL: $1"; echo "$2" | sed 's/^/    /'; status=1; }
code_in() {  # the C/C++ files of the folders given that exist
  local d
  for d in "$@"; do [ -d "$d" ] && find "$d" -name '*.cpp' -o -name '*.h' -o -name '*.c'; done | sort
}
check() {  # check "rule" PATTERN FILES...: fails when the pattern matches a line
  local rule=$1 pattern=$2
  shift 2
  [ "$#" -gt 0 ] || return 0
  local hits
  hits=$(grep -nE "$pattern" "$@" 2>/dev/null)
  [ -z "$hits" ] || fail "$rule" "$hits"
}

mapfile -t ground < <(code_in scene scenefile)
check "scene/ and scenefile/ include nothing of sim/" '^[[:space:]]*#[[:space:]]*include[[:space:]]*"sim/' "${ground[@]}"

mapfile -t lower < <(code_in sim render scene script session web)
check "the libraries below the front ends include nothing of cli/ or window/" \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(cli|window)/' "${lower[@]}"

mapfile -t notwindow < <(code_in scene sim scenefile render script session web cli fileio validate bench fuzz)
check "no SDL header outside window/" '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]SDL' "${notwindow[@]}"

mapfile -t simfiles < <(code_in sim)
options='plugin|scene|script|save|png|list|json|window|shell|record|diff|validate|seed|runs|zoom|force|lights|without|fail|toolkit-version|interface-version'
# Texts only: a quoted string that holds an option; comments may explain.
check "sim/ names no command-line option" "\"[^\"]*--($options)\\b[^\"]*\"" "${simfiles[@]}"

mapfile -t simlabels < <(printf '%s\n' "${simfiles[@]}" | grep -v -e '/roles\.cpp$' -e '/panel_facts\.h$')
check "the panel's labels and items are named only in sim/roles.cpp and sim/panel_facts.h" \
  '"(Intensity|Range|copy|paste|Clear selection|prefix|Distant|Point|Spot|Linear|Area|Off|Raytrace|ShadowMap)"' \
  "${simlabels[@]}"

[ "$status" = 0 ] && echo "every layering rule holds"
exit "$status"
