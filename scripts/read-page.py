#!/usr/bin/env python3
"""A reader of quillmark page files written from docs/page-format.md alone, in plain Python
(zstd through ctypes), to show that the document is enough to read the format.

    read-page.py --dump PAGE           the chunks, per drawing its engine, counts and models,
                                       and per stroke its key, drawing and edits
    read-page.py --list PAGE           the next key, the number of changes, and per stroke its
                                       key, drawing and edits with every float as its bits in hex
    read-page.py --check PAGE TEXT     the page's drawings hold the samples of the text stroke
                                       file, as float32 x, y, pressure and int time (exit status 0),
                                       or not (1)
"""

import ctypes
import ctypes.util
import struct
import sys
import zlib

MAGIC = b"\x89QMK\r\n\x1a\n"
CALLS = ["start", "add", "end", "batch", "end-batch", "raw", "fitted", "replay"]
ENGINES = {1: "fix", 2: "fill", 3: "pressure", 4: "speed", 5: "extend", 6: "brush"}
CHANNELS = ["x", "y", "time", "pressure"]
MASK64 = (1 << 64) - 1


class Damaged(Exception):
    pass


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, n):
        if self.at + n > len(self.data):
            raise Damaged("ends early")
        self.at += n
        return self.data[self.at - n:self.at]

    def u8(self):
        return self.take(1)[0]

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]

    def varint(self):
        value = 0
        for i in range(10):
            byte = self.u8()
            value |= (byte & 0x7F) << (7 * i)
            if byte < 0x80:
                return value
        raise Damaged("varint longer than ten bytes")

    def done(self):
        return self.at == len(self.data)


def unzigzag(u):
    return (u >> 1) ^ -(u & 1)


def signed64(u):
    u &= MASK64
    return u - (1 << 64) if u >> 63 else u


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def f32_bits(bits):
    return struct.unpack("<f", struct.pack("<I", bits))[0]


def zstd_decompress(frame, size):
    lib = ctypes.CDLL(ctypes.util.find_library("zstd") or "libzstd.so.1")
    lib.ZSTD_decompress.restype = ctypes.c_size_t
    lib.ZSTD_decompress.argtypes = [ctypes.c_char_p, ctypes.c_size_t, ctypes.c_char_p, ctypes.c_size_t]
    out = ctypes.create_string_buffer(size)
    n = lib.ZSTD_decompress(out, size, frame, len(frame))
    if n != size:
        raise Damaged("zstd frame does not unpack to the declared size")
    return out.raw


def chunks(data):
    if data[:8] != MAGIC:
        raise Damaged("no magic number")
    r = Reader(data)
    r.take(8)
    version = r.u32()
    if version != 1:
        raise Damaged("version %d" % version)
    while True:
        offset = r.at
        tag = r.take(4)
        payload = r.take(r.u32())
        if r.u32() != zlib.crc32(tag + payload):
            raise Damaged("checksum of chunk at byte %d" % offset)
        if tag == b"QEND":
            if not r.done():
                raise Damaged("bytes after the end chunk")
            return
        yield tag.decode("ascii"), offset, payload


def unpack(payload):
    r = Reader(payload)
    method, size = r.u8(), r.varint()
    rest = payload[r.at:]
    if method == 0:
        return rest
    if method == 1:
        return zstd_decompress(rest, size)
    raise Damaged("packing method %d" % method)


def read_model(meta):
    model = {"kind": meta.u8(), "digits": meta.u8()}
    flags = meta.u8()
    model["order"] = flags & 3
    if flags & 4:
        model["lattice"] = (signed64(meta.varint()), signed64(meta.varint()))
    model["exceptions"] = meta.varint()
    return model


def value_of(K, model, is_time):
    if is_time:
        if not -(1 << 31) <= K < (1 << 31):
            raise Damaged("time out of range")
        return K
    kind, digits = model["kind"], model["digits"]
    if kind == 2:
        if not -(1 << 31) <= K < (1 << 31):
            raise Damaged("bits out of range")
        return f32_bits(K if K >= 0 else 0x80000000 | (-1 - K))
    if abs(K) > 1 << 53:
        raise Damaged("integer out of range")
    if kind == 0 and digits <= 15:
        return f32(float(K) / float(10 ** digits))   # IEEE double division, then to float
    if kind == 1 and digits <= 60:
        return f32(float(K) * 2.0 ** -digits)
    raise Damaged("grid %d/%d" % (kind, digits))


def read_channel(residuals, exceptions, model, n, is_time):
    levels, values = [], []
    order = model["order"]
    for i in range(n):
        o, k = min(order, i), levels
        predicted = [0, k[-1] if o == 1 else 0, 2 * k[-1] - k[-2] if o == 2 else 0,
                     3 * k[-1] - 3 * k[-2] + k[-3] if o == 3 else 0][o]
        level = signed64(predicted + unzigzag(residuals.varint()))
        levels.append(level)
        K = level
        if "lattice" in model:
            step, offset = model["lattice"]
            if step < (1 << 32) or not 0 <= offset < step:
                raise Damaged("lattice")
            K = (offset + step * level + (1 << 31)) >> 32   # Python's >> floors
        values.append(value_of(K, model, is_time))
    index = -1
    for _ in range(model["exceptions"]):
        index += 1 + exceptions.varint()
        bits = exceptions.u32()
        if index >= n:
            raise Damaged("exception past the end")
        values[index] = struct.unpack("<i", struct.pack("<I", bits))[0] if is_time else f32_bits(bits)
    return values


def read_strokes(body):
    r = Reader(body)
    sections = [Reader(r.take(r.varint())) for _ in range(7)]
    if not r.done():
        raise Damaged("bytes after the sections")
    meta, steps, exceptions = sections[0], sections[1], sections[6]
    strokes = []
    for _ in range(meta.varint()):
        stroke = {"engine": meta.varint(), "width": f32_bits(meta.u32()), "rgba": meta.u32()}
        n, step_count = meta.varint(), meta.varint()
        models = [read_model(meta) for _ in CHANNELS]
        stroke["steps"] = []
        for _ in range(step_count):
            byte = steps.u8()
            if byte & 0x78:
                raise Damaged("step bits")
            stroke["steps"].append((CALLS[byte & 7], 1 if byte & 0x80 else steps.varint()))
        if sum(count for _, count in stroke["steps"]) != n:
            raise Damaged("steps do not take the samples")
        columns = [read_channel(sections[2 + c], exceptions, models[c], n, c == 2)
                   for c in range(len(CHANNELS))]
        stroke["samples"] = list(zip(*columns))
        stroke["models"] = models
        strokes.append(stroke)
    if not all(s.done() for s in sections):
        raise Damaged("sections not used up")
    return strokes


def bits_of(value):
    return struct.unpack("<I", struct.pack("<f", value))[0]


def read_edits(body, drawings):
    r = Reader(body)
    changes_in, xs_in, ys_in, exceptions, strokes_in = [Reader(r.take(r.varint())) for _ in range(5)]
    if not r.done():
        raise Damaged("bytes after the sections")
    changes, positions = [], 0
    for _ in range(changes_in.varint()):
        kind = changes_in.u8()
        if kind == 0:
            count, radius = changes_in.varint(), changes_in.u32()
            if count == 0:
                raise Damaged("an erase without positions")
            changes.append(("erase", radius, positions, count))
            positions += count
        elif kind == 1:
            changes.append(("move", changes_in.u32(), changes_in.u32()))
        else:
            raise Damaged("change kind %d" % kind)
    models = [read_model(changes_in) for _ in range(2)]
    xs = read_channel(xs_in, exceptions, models[0], positions, False)
    ys = read_channel(ys_in, exceptions, models[1], positions, False)
    strokes, used = [], 0
    for i in range(strokes_in.varint()):
        step = strokes_in.u8()
        if step > 1 or (i == 0 and step == 0):
            raise Damaged("drawing step %d of stroke %d" % (step, i))
        used += step
        edits = []
        for _ in range(strokes_in.varint()):
            change = changes[strokes_in.varint()]
            if change[0] == "move":
                edits.append(change)
                continue
            _, radius, first, count = change
            xy = [bits_of(v) for p in range(first, first + count) for v in (xs[p], ys[p])]
            edits.append(("erase", radius, strokes_in.varint(), xy))
        strokes.append({"drawing": used - 1, "edits": edits})
    if used != drawings:
        raise Damaged("the strokes use %d of %d drawings" % (used, drawings))
    if not all(s.done() for s in (changes_in, xs_in, ys_in, exceptions, strokes_in)):
        raise Damaged("sections not used up")
    return strokes, len(changes)


def read_keys(payload, count):
    r = Reader(payload)
    next_key, n = r.varint(), r.varint()
    if n != count:
        raise Damaged("%d keys for %d strokes" % (n, count))
    keys, key = [], 0
    for _ in range(n):
        key = signed64(key + unzigzag(r.varint()))
        keys.append(key)
    if not r.done():
        raise Damaged("bytes after the keys")
    return keys, next_key


def read_page(data):
    """The page: its drawings (the strokes chunk), its strokes (key, drawing, edits), its next
    key and how many different changes the edits chunk holds."""
    found = {}
    for tag, offset, payload in chunks(data):
        if tag in found:
            raise Damaged("a second %s chunk at byte %d" % (tag, offset))
        if tag in ("STRK", "EDIT", "keys"):
            found[tag] = payload
        elif tag[0].isupper():
            raise Damaged("unknown critical chunk %s at byte %d" % (tag, offset))
    if "STRK" not in found:
        raise Damaged("no strokes chunk")
    drawings = read_strokes(unpack(found["STRK"]))
    strokes, changes = [{"drawing": i, "edits": []} for i in range(len(drawings))], 0
    if "EDIT" in found:
        strokes, changes = read_edits(unpack(found["EDIT"]), len(drawings))
    keys, next_key = list(range(1, len(strokes) + 1)), len(strokes) + 1
    if "keys" in found:
        keys, next_key = read_keys(found["keys"], len(strokes))
    for stroke, key in zip(strokes, keys):
        stroke["key"] = key
    return {"drawings": drawings, "strokes": strokes, "next key": next_key, "changes": changes}


def listing(page):
    lines = ["next key %d, %d changes" % (page["next key"], page["changes"])]
    for stroke in page["strokes"]:
        lines.append("key %d drawing %d" % (stroke["key"], stroke["drawing"]))
        for edit in stroke["edits"]:
            if edit[0] == "move":
                lines.append("  move %08x %08x" % edit[1:])
            else:
                lines.append("  erase radius %08x piece %d xy %s" % (
                    edit[1], edit[2], ",".join("%08x" % b for b in edit[3])))
    return "\n".join(lines) + "\n"


def read_text(path):
    strokes, current = [], []
    for line in open(path):
        line = line.strip()
        if line.startswith("#"):
            continue
        if not line:
            if current:
                strokes.append(current)
            current = []
            continue
        x, y, t, p = line.split()
        current.append((f32(float(x)), f32(float(y)), int(round(float(t))), f32(float(p))))
    if current:
        strokes.append(current)
    return [[(x, y, t - s[0][2], p) for x, y, t, p in s] for s in strokes]


def dump(data):
    for tag, offset, payload in chunks(data):
        packing = ", packing method %d" % payload[0] if tag in ("STRK", "EDIT") else ""
        print("chunk %s at byte %d: %d bytes%s" % (tag, offset, len(payload), packing))
    page = read_page(data)
    for i, stroke in enumerate(page["drawings"]):
        print("drawing %d: %s, width %g, colour %08x, %d samples, steps %s" % (
            i, ENGINES.get(stroke["engine"], "?"), stroke["width"], stroke["rgba"],
            len(stroke["samples"]), stroke["steps"][:3] + (["..."] if len(stroke["steps"]) > 3 else [])))
        for name, model in zip(CHANNELS, stroke["models"]):
            lattice = "none"
            if "lattice" in model:
                step, offset = model["lattice"]
                lattice = "step %.6g offset %.6g" % (step / 2.0 ** 32, offset / 2.0 ** 32)
            print("  %-8s grid %s %d, order %d, lattice %s, exceptions %d" % (
                name, ["decimal", "binary", "bits"][model["kind"]], model["digits"], model["order"],
                lattice, model["exceptions"]))
    print("%d strokes, next key %d, %d changes" % (len(page["strokes"]), page["next key"], page["changes"]))
    for stroke in page["strokes"]:
        kinds = [edit[0] for edit in stroke["edits"]]
        print("key %d: drawing %d, %d erases, %d moves" % (
            stroke["key"], stroke["drawing"], kinds.count("erase"), kinds.count("move")))


def main(argv):
    if len(argv) == 3 and argv[1] == "--dump":
        dump(open(argv[2], "rb").read())
        return 0
    if len(argv) == 3 and argv[1] == "--list":
        sys.stdout.write(listing(read_page(open(argv[2], "rb").read())))
        return 0
    if len(argv) == 4 and argv[1] == "--check":
        page = [s["samples"] for s in read_page(open(argv[2], "rb").read())["drawings"]]
        text = read_text(argv[3])
        same = [[struct.pack("<ffif", *s) for s in stroke] for stroke in page] == \
               [[struct.pack("<ffif", *s) for s in stroke] for stroke in text]
        print("%s: %d strokes, %d samples, %s" % (argv[2], len(page), sum(map(len, page)),
                                                   "as in " + argv[3] if same else "DIFFERENT from " + argv[3]))
        return 0 if same else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
