#!/usr/bin/env bash
# Builds the libFuzzer targets of the codec (not part of the main build) and a seed corpus of
# small TIFF files made by libtiff's tools.
#   fuzz/build.sh [OUT_DIR]      default: fuzz/out
# Then run, for example:
#   fuzz/out/fuzz_read_dib -runs=1000000 fuzz/out/corpus-dib fuzz/out/seeds
#   fuzz/out/roundtrip_fuzz -runs=1000000 fuzz/out/corpus-roundtrip fuzz/out/seeds
#   fuzz/out/ccitt_fuzz -runs=1000000 fuzz/out/corpus-ccitt
#   fuzz/out/query_fuzz -runs=1000000 fuzz/out/corpus-query     (no control byte: a query file)
#   fuzz/out/picture_fuzz -runs=1000000 fuzz/out/corpus-picture fuzz/out/seeds-picture
#   fuzz/out/dxf_fuzz -runs=1000000 fuzz/out/corpus-dxf testdata/image/*.dxf
#   fuzz/out/text_picture_fuzz -runs=1000000 fuzz/out/corpus-text testdata/image/*.scm
# A crash worth keeping goes to testdata/tiff without its control byte (see testdata/README.md).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
out="${1:-$here/out}"
mkdir -p "$out/seeds" "$out/corpus-dib" "$out/corpus-info" "$out/corpus-roundtrip" "$out/corpus-ccitt" "$out/corpus-query" \
         "$out/seeds-picture" "$out/corpus-picture" "$out/corpus-dxf" "$out/corpus-text"

# The targets come from the project's own build with TAPEMOOR_FUZZ on.
build="$out/build"
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
      -DTAPEMOOR_FUZZ=ON -DBUILD_TESTING=OFF -DTAPEMOOR_BENCH=OFF >/dev/null
targets=(fuzz_read_dib fuzz_getinfo roundtrip_fuzz ccitt_fuzz query_fuzz text_picture_fuzz dxf_fuzz picture_fuzz)
cmake --build "$build" -j2 --target "${targets[@]}"
for t in "${targets[@]}"; do cp "$build/bin/$t" "$out/$t"; done

# Seeds: one small file per depth and compression, a multi-page file and a big-endian one.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
python3 - "$tmp" <<'PY'
import struct, sys
d = sys.argv[1]
def tiff(path, w, h, bps, spp, photometric, data, cmap=None):
    entries = []
    extra = b""
    base = 8 + len(data)
    def add(tag, typ, count, value):
        entries.append((tag, typ, count, value))
    add(256, 3, 1, w); add(257, 3, 1, h)
    if spp == 3:
        add(258, 3, 3, None)
    else:
        add(258, 3, 1, bps)
    add(259, 3, 1, 1); add(262, 3, 1, photometric); add(273, 4, 1, 8)
    add(277, 3, 1, spp); add(278, 3, 1, h); add(279, 4, 1, len(data))
    if cmap: add(320, 3, len(cmap), None)
    entries.sort()
    arrays = b""
    out = []
    n = len(entries)
    ifd = base
    after = ifd + 2 + 12 * n + 4
    for tag, typ, count, value in entries:
        if value is None:
            arr = struct.pack("<3H", 8, 8, 8) if tag == 258 else struct.pack("<%dH" % len(cmap), *cmap)
            off = after + len(arrays)
            arrays += arr
            out.append(struct.pack("<HHII", tag, typ, count, off))
        elif typ == 3:
            out.append(struct.pack("<HHIHH", tag, typ, count, value, 0))
        else:
            out.append(struct.pack("<HHII", tag, typ, count, value))
    f = b"II*\0" + struct.pack("<I", ifd) + data + struct.pack("<H", n) + b"".join(out) + b"\0\0\0\0" + arrays
    open(path, "wb").write(f)
tiff(d + "/g1.tif", 13, 5, 1, 1, 0, bytes(range(10)))
tiff(d + "/g8.tif", 6, 4, 8, 1, 1, bytes(range(24)))
tiff(d + "/p4.tif", 6, 4, 4, 1, 3, bytes(range(12)), [i * 1300 for i in range(48)])
tiff(d + "/rgb.tif", 4, 3, 8, 3, 2, bytes(range(36)))
PY
i=0
for src in "$tmp"/*.tif; do
  for opt in "-c none" "-c lzw" "-c lzw:2" "-c packbits" "-c lzw -r 2" "-B -c packbits" "-c none -p separate"; do
    tiffcp $opt "$src" "$out/seeds/s$i.tif" 2>/dev/null || rm -f "$out/seeds/s$i.tif"
    i=$((i + 1))
  done
done
for opt in "-c g3:1d" "-c g3:1d:fill" "-c g4" "-c g4 -f lsb2msb" "-c g3:1d -r 2"; do
  tiffcp $opt "$tmp/g1.tif" "$out/seeds/s$i.tif" 2>/dev/null || true
  i=$((i + 1))
done
tiffcp "$tmp/g1.tif" "$tmp/g8.tif" "$tmp/rgb.tif" "$out/seeds/pages.tif"
# The fuzzers take one leading control byte before the file.
for f in "$out/seeds"/*.tif; do
  { printf '\x00'; cat "$f"; } > "$f.seed" && mv "$f.seed" "$f"
done
# picture_fuzz: the picture files of testdata/image behind the control byte of their extension
# (the order of kExt in picture_fuzz.cpp), at the depth of the screen and in grey.
exts=(bmp jpg gif png pcx pcd thb thj cms dxf ico wmf scm jpeg)
for f in "$root"/testdata/image/*; do
  ext="${f##*.}"
  for i in "${!exts[@]}"; do
    [ "${exts[$i]}" = "$ext" ] || continue
    for depth in 0 5; do
      { printf "\\$(printf '%03o' $((i + 14 * depth)))"; cat "$f"; } > "$out/seeds-picture/$depth-$(basename "$f")"
    done
  done
done
echo "built ${targets[*]} in $out; $(ls "$out/seeds" | wc -l) seeds"
