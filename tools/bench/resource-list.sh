#!/bin/sh
# Lists the resources of a Windows program, one line each: type, name, language (hex) and size in
# bytes, read from the resource directory that objdump prints. Shared by make bench's size report
# and the lean-program test (tests/app), which count the program's resources and its
# translations apart.
# Usage: resource-list.sh PROGRAM OBJDUMP
set -eu
program=$1 objdump=$2

# objdump indents each level of the directory by one more space after the entry's offset: types,
# then names, then languages, then the leaf that holds the size.
"$objdump" -p "$program" | awk '
  /The .rsrc Resource Directory section/ { inside = 1; next }
  !inside { next }
  !/^[0-9a-f]+ +/ { next }
  {
    match($0, /^[0-9a-f]+ +/)
    depth = RLENGTH - index($0, " ") + 1
  }
  /Entry:/ {
    if ($0 ~ /Entry: name:/) { key = $0; sub(/.*\]: /, "", key); sub(/, Value:.*/, "", key) }
    else { key = $0; sub(/.*ID: /, "", key); sub(/,.*/, "", key); key = hex(key) }
    if (depth == 3) type = key
    else if (depth == 5) name = key
    else if (depth == 7) language = key
    next
  }
  /Leaf:/ {
    size = $0; sub(/.*Size: /, "", size); sub(/,.*/, "", size)
    printf "%s %s %04x %d\n", typeName(type), name, language, hex(size)
  }
  function hex(text,    value, i) {
    sub(/^0x/, "", text)
    value = 0
    for (i = 1; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
    return value
  }
  function typeName(t) {
    if (t == "1") return "cursor"
    if (t == "2") return "bitmap"
    if (t == "3") return "icon-image"
    if (t == "4") return "menu"
    if (t == "5") return "dialog"
    if (t == "6") return "strings"
    if (t == "11") return "messages"
    if (t == "14") return "icon"
    if (t == "16") return "version"
    if (t == "24") return "manifest"
    return "type-" t
  }
'
