#!/bin/sh
# Fails when an include points against the folders' one-way arrows: shell uses draw, arcade and
# host; arcade uses host; draw uses nothing else of src/; nothing points back.
cd "${1:?usage: check_layering.sh SRC_DIR}" || exit 2
includes() { grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($1)/" $2 2>/dev/null; }
bad=$(includes 'shell|host|arcade|res' 'draw/*'; includes shell 'host/* arcade/*'; includes arcade 'host/*')
[ -z "$bad" ] && exit 0
echo "includes against the layering:"
echo "$bad"
exit 1
