#!/usr/bin/env python3
"""Where the private memory of a Wine process goes, page by page.

  tools/memory-breakdown.py PID REPORT [--label TEXT]

PID is the Linux process of the Windows program; REPORT the file that bench/win's report DLL
wrote from inside it (memory_probe report): its heaps as HeapWalk sees them, the address ranges
of its loaded modules, thread stacks, heap regions and DIB sections, and its live GDI objects.
Each resident anonymous page of the process (present in /proc/PID/pagemap, not backed by a file;
the pages that RssAnon counts) is given to the first range that holds it: a thread stack, a DIB
section, a heap, a module's image (pages written to, relocated, or read in because the file's
sections are not page-aligned); pages outside all of them belong to Wine itself: the Unix
libraries' data (by library), the Unix malloc heap, and the rest (Wine's own reservations,
thread blocks, shared-memory views). Prints a table in kB; asserts nothing.
"""
import argparse
import bisect
import collections
import re
import struct
import sys

PAGE = 4096


def parse_report(path):
    heaps, ranges, gdi = [], [], {}
    with open(path, encoding="utf-8", errors="replace") as report:
        for line in report:
            parts = line.split()
            if not parts:
                continue
            if parts[0] == "heap" and len(parts) == 5:
                heaps.append((parts[1], int(parts[2]), int(parts[3]), int(parts[4])))
            elif parts[0] == "range" and len(parts) == 5:
                ranges.append((parts[1], parts[2], int(parts[3], 16), int(parts[4], 16)))
            elif parts[0] == "gdi" and len(parts) == 3:
                gdi[parts[1]] = int(parts[2])
    return heaps, ranges, gdi


def anonymous_pages(pid):
    """(address, vma name) of every resident anonymous page."""
    vmas = []
    with open(f"/proc/{pid}/smaps") as smaps:
        current = None
        for line in smaps:
            head = re.match(r"^([0-9a-f]+)-([0-9a-f]+) \S+ \S+ \S+ \S+\s*(.*)$", line)
            if head:
                current = [int(head.group(1), 16), int(head.group(2), 16), head.group(3), 0]
                vmas.append(current)
            elif line.startswith("Anonymous:") and current:
                current[3] = int(line.split()[1])
    pages = []
    with open(f"/proc/{pid}/pagemap", "rb") as pagemap:
        for start, end, name, anonymous_kb in vmas:
            if anonymous_kb == 0:
                continue
            pagemap.seek(start // PAGE * 8)
            data = pagemap.read((end - start) // PAGE * 8)
            for i, (entry,) in enumerate(struct.iter_unpack("<Q", data)):
                present = entry >> 63 & 1
                file_or_shared = entry >> 61 & 1
                exclusive = entry >> 56 & 1
                if present and not file_or_shared and exclusive:
                    pages.append((start + i * PAGE, name))
    return pages


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pid", type=int)
    parser.add_argument("report")
    parser.add_argument("--label", default="")
    args = parser.parse_args()
    heaps, ranges, gdi = parse_report(args.report)

    # The report DLL itself was loaded to write the report: its pages are left out.
    order = {"stack": 0, "dib": 1, "heap": 2, "module": 3}
    ranges = [r for r in ranges if not r[1].lower().startswith("memory_report")]
    ranges.sort(key=lambda r: (order.get(r[0], 9), r[2]))
    by_kind = collections.defaultdict(list)
    for kind, name, start, end in ranges:
        by_kind[kind].append((start, end, name))
    for kind in by_kind:
        by_kind[kind].sort()
    starts = {kind: [r[0] for r in items] for kind, items in by_kind.items()}

    def owner(address):
        for kind in sorted(by_kind, key=lambda k: order.get(k, 9)):
            i = bisect.bisect_right(starts[kind], address) - 1
            if i >= 0 and by_kind[kind][i][0] <= address < by_kind[kind][i][1]:
                return kind, by_kind[kind][i][2]
        return None, None

    totals = collections.Counter()
    modules = collections.Counter()
    unix = collections.Counter()
    stacks = collections.Counter()
    pages = anonymous_pages(args.pid)
    for address, vma in pages:
        kind, name = owner(address)
        if kind == "module":
            modules[name] += PAGE // 1024
            totals["modules (PE images)"] += PAGE // 1024
        elif kind:
            if kind == "stack":
                stacks[name] += PAGE // 1024
            totals[{"stack": "thread stacks", "dib": "DIB sections (pictures)",
                    "heap": "Windows heaps"}[kind]] += PAGE // 1024
        elif vma == "[heap]":
            totals["Wine: Unix malloc heap"] += PAGE // 1024
        elif vma.endswith(".so") or ".so." in vma:
            totals["Wine: Unix libraries' data"] += PAGE // 1024
            unix[vma.rsplit("/", 1)[-1]] += PAGE // 1024
        else:
            totals["Wine: other (TEBs, reservations, views)"] += PAGE // 1024

    status = open(f"/proc/{args.pid}/status").read()
    rss_anon = int(re.search(r"RssAnon:\s+(\d+)", status).group(1))
    title = f"Private memory of {args.label or args.pid}: RssAnon {rss_anon} kB"
    print(title)
    print("-" * len(title))
    for name, kb in sorted(totals.items(), key=lambda item: -item[1]):
        print(f"  {name:44s} {kb:7d} kB")
    print(f"  {'(resident anonymous pages counted)':44s} {len(pages) * PAGE // 1024:7d} kB")
    print("  modules' private pages:")
    for name, kb in modules.most_common():
        print(f"    {name:42s} {kb:7d} kB")
    print("  Unix libraries' private pages (largest):")
    for name, kb in unix.most_common(8):
        print(f"    {name:42s} {kb:7d} kB")
    print("  heaps (HeapWalk: in use / blocks / committed):")
    for handle, busy, blocks, committed in heaps:
        print(f"    {handle:18s} {busy // 1024:7d} kB in {blocks:6d} blocks, {committed // 1024:6d} kB committed")
    print(f"    {'all heaps':18s} {sum(h[1] for h in heaps) // 1024:7d} kB in use")
    print(f"  threads: {len(by_kind.get('stack', []))}, resident stack pages: "
          + ", ".join(f"{name} {kb} kB" for name, kb in sorted(stacks.items())))
    print("  GDI objects: " + ", ".join(f"{k} {v}" for k, v in sorted(gdi.items()) if k != "total")
          + f" (total {gdi.get('total', 0)})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
