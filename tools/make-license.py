#!/usr/bin/env python3
"""Writes resources/deliver/license.txt: the program's licence and the notices of everything
built into LockBeacon.exe, with the texts taken from the Debian packages on this machine (their
copyright files) and, for libpng, from the LICENSE of the Debian source package that the setup
script cross-builds. Run it again when a library changes; the file is committed."""
import os
import re
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(REPO, "resources", "deliver", "license.txt")
DOC = "/usr/share/doc"
DEPS = os.environ.get("LOCKBEACON_DEPS", os.path.expanduser("~/.cache/lock-beacon/deps"))


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def paragraphs(copyright_file):
    """The paragraphs of a machine-readable Debian copyright file."""
    return re.split(r"\n\s*\n", read(copyright_file))


def field_text(paragraph, field):
    """A field's continuation lines as plain text (" ." lines become blank lines)."""
    lines = paragraph.splitlines()
    out, inside = [], False
    for line in lines:
        if line.startswith(field + ":"):
            inside = True
            continue
        if inside:
            if not line.startswith(" ") and not line.startswith("\t"):
                break
            text = line[1:]
            out.append("" if text.strip() == "." else text.rstrip())
    return "\n".join(out).strip("\n")


def license_paragraph(copyright_file, name):
    """The text of a standalone "License: <name>" paragraph, or of the first paragraph whose
    License field is <name> and carries a text."""
    for p in paragraphs(copyright_file):
        first = p.strip().splitlines()[0] if p.strip() else ""
        if first.strip() == "License: " + name or (
            "\nLicense: " + name in "\n" + p and field_text(p, "License")
        ):
            text = field_text(p, "License")
            if text:
                return text
    sys.exit(f"no licence text {name!r} in {copyright_file}")


def copyright_of(copyright_file, files):
    for p in paragraphs(copyright_file):
        if re.search(r"^Files:\s*" + re.escape(files) + r"\s*$", p, re.M):
            value = [l for l in p.splitlines() if l.startswith("Copyright:")]
            rest = []
            started = False
            for l in p.splitlines():
                if l.startswith("Copyright:"):
                    started = True
                    continue
                if started:
                    if l.startswith((" ", "\t")):
                        rest.append(l.strip())
                    else:
                        break
            return "\n".join([value[0][len("Copyright:"):].strip()] + rest)
    sys.exit(f"no Files: {files} in {copyright_file}")


def section(title, body):
    rule = "=" * 78
    return f"{rule}\n{title}\n{rule}\n\n{body.strip()}\n\n"


mingw = os.path.join(DOC, "mingw-w64-common", "copyright")
pcre2 = os.path.join(DOC, "libpcre2-8-0", "copyright")
zlib = os.path.join(DOC, "libz-mingw-w64", "copyright")
expat = license_paragraph(mingw, "expat")

png_license = None
for name in sorted(os.listdir(os.path.join(DEPS, "src"))) if os.path.isdir(
        os.path.join(DEPS, "src")) else []:
    candidate = os.path.join(DEPS, "src", name, "LICENSE")
    if name.startswith("libpng") and os.path.isfile(candidate):
        png_license = read(candidate)
if png_license is None:
    sys.exit("libpng's LICENSE not found: run tools/setup.sh first")

parts = []
parts.append(section(
    "Lock Beacon",
    "Copyright (c) Lock Beacon contributors\n\n" + expat))
parts.append(
    "Lock Beacon is built with the following software, which is included in LockBeacon.exe.\n"
    "Their notices follow.\n\n")
parts.append(section(
    "PCRE2 - Perl-compatible regular expressions",
    "Copyright (c) " + copyright_of(pcre2, "*") + "\n\n"
    + license_paragraph(pcre2, "BSD-3-clause-Cambridge with BINARY LIBRARY-LIKE PACKAGES exception")
    + "\n\nThe just-in-time compiler of PCRE2 (sljit):\n\nCopyright " + copyright_of(pcre2, "src/sljit/*")
    + "\n\n" + license_paragraph(pcre2, "BSD-2-clause")))
parts.append(section("libpng - the PNG reference library", png_license))
parts.append(section(
    "zlib - compression library",
    "Copyright (C) " + copyright_of(zlib, "*") + "\n\n" + license_paragraph(zlib, "Zlib")))
parts.append(section(
    "MinGW-w64 winpthreads - POSIX threads for Windows",
    "Copyright (c) " + copyright_of(mingw, "mingw-w64-libraries/winpthreads/*") + "\n\n" + expat
    + "\n\nParts of its header pthread.h:\n\nCopyright (c) 2010 Lockless Inc.\n\n"
    + license_paragraph(mingw, "BSD-3-clause-Lockless")))
parts.append(section(
    "GCC runtime libraries (libstdc++, libgcc)",
    "The GCC runtime libraries are distributed under the GNU General Public License version 3\n"
    "with the GCC Runtime Library Exception, which allows them to be included in programs\n"
    "under any licence."))
# The notices of the artwork sets, one file each, written by the scripts that render them:
# its first line is the section's title.
NOTICES = os.path.join(REPO, "resources", "notices")
for name in sorted(os.listdir(NOTICES)) if os.path.isdir(NOTICES) else []:
    title, _, body = read(os.path.join(NOTICES, name)).partition("\n")
    parts.append(section(title.strip(), body.strip()))

text = "".join(parts).rstrip() + "\n"
os.makedirs(os.path.dirname(OUT), exist_ok=True)
# Notepad on older Windows wants CR LF line ends.
with open(OUT, "w", encoding="utf-8", newline="\r\n") as f:
    f.write(text)
print("wrote", OUT)
