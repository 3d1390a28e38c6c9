#!/usr/bin/env python3
"""Writes the seed corpus of the WAV reader's fuzzer into fuzz/corpus_wavfile/:
small valid files of every coding and layout, and broken ones near each
check, so the fuzzer starts next to every branch."""

import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus_wavfile")


def chunk(cid, body, pad=True):
    data = cid + struct.pack("<I", len(body)) + body
    if pad and len(body) % 2:
        data += b"\0"
    return data


def wav(channels=1, rate=8000, bits=16, frames=8, fmt_extra=b"", between=b"", data=None,
        data_size=None, tag=1, riff=b"RIFF", wavefmt=b"WAVEfmt ", before=b""):
    block = channels * max(bits // 8, 1)
    # Chunks before fmt sit between the form type and the fmt chunk's id.
    wavefmt = wavefmt[:4] + before + wavefmt[4:]
    if data is None:
        data = bytes((i * 37 + 11) & 0xFF for i in range(frames * block))
    # The byte rate wraps as a careless writer would store it.
    fmt = struct.pack("<HHIIHH", tag, channels, rate, (rate * block) & 0xFFFFFFFF, block,
                      bits) + fmt_extra
    body = fmt + (b"\0" if len(fmt) % 2 else b"")
    size = len(data) if data_size is None else data_size
    rest = between + b"data" + struct.pack("<I", size) + data
    return riff + struct.pack("<I", 4 + len(before) + 8 + len(body) + len(rest)) + wavefmt + \
        struct.pack("<I", len(fmt)) + body + rest


def ext(sub, valid, mask):
    """The extensible header's 22 bytes: cbSize, valid bits, channel mask and
    the sub-format GUID {0000000S-0000-0010-8000-00AA00389B71}."""
    return struct.pack("<HHIH", 22, valid, mask, sub) + \
        bytes([0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        "mono16.wav": wav(),
        "stereo16.wav": wav(channels=2, rate=44100),
        "mono8.wav": wav(bits=8),
        "stereo8.wav": wav(channels=2, bits=8, rate=22050),
        "empty-data.wav": wav(frames=0),
        "fmt18.wav": wav(fmt_extra=b"\0\0"),
        "fmt17-padded.wav": wav(fmt_extra=b"\0"),
        "fact.wav": wav(between=chunk(b"fact", struct.pack("<I", 8))),
        "list.wav": wav(channels=2, between=chunk(b"LIST", b"INFOISFT\x05\0\0\0sox!\0")),
        "odd-junk.wav": wav(between=chunk(b"JUNK", b"abc") + chunk(b"bext", b"\0" * 10)),
        "short-data.wav": wav(channels=2, data_size=1000),
        "huge-data.wav": wav(frames=0, data_size=0xFFFFFFFF),
        "partial-frame.wav": wav(channels=2, data=b"\1\2\3\4\5\6\7"),
        "no-data.wav": wav(frames=0)[:36],
        "oversized-chunk.wav": wav(between=b"LIST" + struct.pack("<I", 0xFFFFFFF0)),
        "bits24.wav": wav(bits=24),
        "bits4.wav": wav(bits=4),
        "rate0.wav": wav(rate=0),
        "channels3.wav": wav(channels=3),
        "float-tag.wav": wav(tag=3),
        "fmt-small.wav": wav()[:16] + struct.pack("<I", 14) + wav()[20:],
        "rifx.wav": wav(riff=b"RIFX"),
        "no-wavefmt.wav": wav(wavefmt=b"WAVEdata"),
        "truncated-header.wav": wav()[:30],
        "just-riff.wav": b"RIFF",
        # Chunks before fmt (recorders write them), and none that is fmt.
        "junk-before-fmt.wav": wav(before=chunk(b"JUNK", b"\0" * 27) + chunk(b"bext", b"b" * 40)),
        "no-fmt-at-all.wav": b"RIFF" + struct.pack("<I", 14) + b"WAVE" + chunk(b"JUNK", b"xy"),
        # 32-bit float, plain and in the extensible format, and extensible PCM.
        "float32.wav": wav(tag=3, bits=32,
                           data=struct.pack("<4f", 0.5, -1.0, 3.0, float("nan"))),
        "extensible-float.wav": wav(tag=0xFFFE, bits=32, frames=4, fmt_extra=struct.pack(
            "<HHIH", 22, 32, 4, 3) + b"\0" * 14),
        "extensible-pcm.wav": wav(tag=0xFFFE, channels=2, fmt_extra=struct.pack(
            "<HHIH", 22, 16, 3, 1) + b"\0" * 14),
        # Wider integers, 64-bit float and the extensible header at every size,
        # with fewer valid bits than the container, and an incomplete last frame.
        "pcm24-stereo.wav": wav(channels=2, bits=24, frames=5),
        "pcm24-odd.wav": wav(bits=24, frames=3),
        "pcm32.wav": wav(bits=32, data=struct.pack("<4i", 2**31 - 1, -2**31, -1, 65535)),
        "float64.wav": wav(tag=3, bits=64, data=struct.pack(
            "<5d", 0.1, -1.0, 1e300, float("-inf"), float("nan"))),
        "float64-stereo-partial.wav": wav(tag=3, bits=64, channels=2, data=struct.pack(
            "<3d", 0.25, -0.5, 2.0)),
        "ext-pcm8.wav": wav(tag=0xFFFE, bits=8, channels=2, fmt_extra=ext(1, 8, 3)),
        "ext-valid12.wav": wav(tag=0xFFFE, bits=16, fmt_extra=ext(1, 12, 4)),
        "ext-valid20-stereo.wav": wav(tag=0xFFFE, bits=24, channels=2, fmt_extra=ext(1, 20, 3)),
        "ext-valid24-in32.wav": wav(tag=0xFFFE, bits=32, fmt_extra=ext(1, 24, 4)),
        "ext-valid-too-many.wav": wav(tag=0xFFFE, bits=16, fmt_extra=ext(1, 17, 4)),
        "ext-float64.wav": wav(tag=0xFFFE, bits=64, channels=2, frames=3, fmt_extra=ext(3, 64, 3)),
        "ext-compressed.wav": wav(tag=0xFFFE, bits=16, fmt_extra=ext(2, 16, 4)),
        # A rate whose byte rate overflows 32 bits when written back.
        "byte-rate-overflow.wav": wav(channels=2, rate=1073741824, frames=2),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(files)} files in {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
