#!/usr/bin/python3
"""Checks that Windows files load on a clean Windows 10 (1809 and later) or 11 as they do here.

    check-pe.py --program LockBeacon.exe     the program
    check-pe.py --installer setup.exe ...    the setup and its uninstaller

Under Wine every test passes whatever the import table says: Wine ships DLLs that Windows does not
have (zlib1.dll) and prefers its own DLLs to any beside the exe. So the files are read as Windows'
loader reads them, with pefile (Debian's python3-pefile; run with Debian's /usr/bin/python3):

  every file: each DLL it imports, statically or delay-loaded, is one that every supported Windows
    has in System32; it is relocatable with 64-bit addresses (ASLR), marks its data as not
    executable (DEP) and is aware of Remote Desktop sessions;
  the program, besides: its static imports are KnownDLLs (which Windows takes from System32
    whatever lies in the exe's folder) or comctl32 (which the manifest takes from the
    side-by-side store), so that no DLL dropped beside a portable copy runs inside it; it imports
    SetDefaultDllDirectories, which it calls first thing so that everything loaded later comes from
    System32 too; and it embeds the manifest it needs (Common Controls 6, whose TaskDialogIndirect
    the System32 comctl32 lacks, per-monitor DPI v2, Windows 10 and 11 as supported systems).

Prints one line per fault and exits with 1 when there is any.
"""
import argparse
import re
import struct
import sys

try:
    import pefile
except ImportError:  # pragma: no cover - the setup script installs it
    sys.exit("check-pe: python3-pefile is missing (tools/setup.sh installs it)")

# HKLM\System\CurrentControlSet\Control\Session Manager\KnownDLLs of Windows 10 1809 to 11 24H2
# (the entries that every one of them has), and ntdll, which is always mapped.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}

# Not KnownDLLs, but taken from the side-by-side store by the manifest's dependency.
SIDE_BY_SIDE = {"comctl32.dll"}

# DLLs that every Windows 10 (1809 and later) and 11 has in System32, beyond the KnownDLLs:
# the ones a small desktop program may reasonably use. A DLL that is not here is either not part
# of Windows (zlib1.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll, ...) or needs a look first.
WINDOWS_DLLS = KNOWN_DLLS | SIDE_BY_SIDE | {
    "bcrypt.dll", "cfgmgr32.dll", "crypt32.dll", "d2d1.dll", "d3d11.dll", "dbghelp.dll",
    "dnsapi.dll", "dwmapi.dll", "dwrite.dll", "dxgi.dll", "iphlpapi.dll", "kernelbase.dll",
    "mpr.dll", "msimg32.dll", "ncrypt.dll", "netapi32.dll", "ntdll.dll", "oleacc.dll",
    "powrprof.dll", "propsys.dll", "secur32.dll", "ucrtbase.dll", "urlmon.dll", "userenv.dll",
    "uxtheme.dll", "version.dll", "windowscodecs.dll", "winhttp.dll", "wininet.dll",
    "winmm.dll", "winspool.drv", "wintrust.dll", "wtsapi32.dll",
}
# The universal C runtime's API sets, part of every Windows 10.
API_SET = re.compile(r"^api-ms-win-[a-z0-9-]+\.dll$")

FLAGS = {
    "IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE": "ASLR (--dynamicbase)",
    "IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA": "64-bit ASLR (--high-entropy-va)",
    "IMAGE_DLLCHARACTERISTICS_NX_COMPAT": "DEP (--nxcompat)",
    "IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE": "Remote Desktop awareness (--tsaware)",
}

MANIFEST_NEEDS = [
    (re.compile(r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"'),
     "the Common Controls 6 dependency"),
    (re.compile(r"<dpiAwareness[^>]*>\s*PerMonitorV2"), "per-monitor DPI v2 (dpiAwareness)"),
    (re.compile(r"<supportedOS\s+Id=\"\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}\""),
     "Windows 10 and 11 in the supported-OS list"),
]


def static_imports(pe):
    """{dll name: set of function names} of the import table."""
    found = {}
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        names = {i.name.decode() for i in entry.imports if i.name}
        found.setdefault(entry.dll.decode().lower(), set()).update(names)
    return found


def delay_imports(pe):
    """Names of the delay-loaded DLLs: from the delay-import directory where the linker filled
    it in, and from the delay descriptors themselves, which GNU ld leaves out of that directory
    (each is eight 32-bit fields: attributes 1 for RVAs, then the RVA of the DLL's name, ...)."""
    found = {e.dll.decode().lower() for e in getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])}
    image = pe.get_memory_mapped_image()

    def name_at(rva):
        if not 0 < rva < len(image):
            return None
        end = image.find(b"\0", rva, rva + 260)
        text = image[rva:end] if end > rva else b""
        if re.fullmatch(rb"[A-Za-z0-9_.-]+\.(dll|drv)", text, re.IGNORECASE):
            return text.decode().lower()
        return None

    for section in pe.sections:
        start, size = section.VirtualAddress, section.Misc_VirtualSize
        for offset in range(start, start + size - 32, 4):
            attributes, name_rva, module_rva, iat_rva = struct.unpack_from("<4I", image, offset)
            if attributes != 1 or not module_rva or not iat_rva:
                continue
            name = name_at(name_rva)
            if name:
                found.add(name)
    return found


def manifest(pe):
    """The text of the RT_MANIFEST resource, or None."""
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in resources.entries if resources else []:
        if kind.id != pefile.RESOURCE_TYPE["RT_MANIFEST"]:
            continue
        for name in kind.directory.entries:
            for language in name.directory.entries:
                data = language.data.struct
                return pe.get_data(data.OffsetToData, data.Size).decode("utf-8", "replace")
    return None


def is_windows_dll(name):
    return name in WINDOWS_DLLS or bool(API_SET.match(name))


def audit(path, program):
    faults = []
    try:
        pe = pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        return [f"{path}: not a Windows program: {error}"]
    imports = static_imports(pe)
    delayed = delay_imports(pe)

    for dll in sorted(imports):
        if not is_windows_dll(dll):
            faults.append(f"{path}: imports {dll}, which Windows does not have")
        elif program and dll not in KNOWN_DLLS | SIDE_BY_SIDE:
            faults.append(f"{path}: imports {dll} statically, which is no KnownDLL: Windows "
                          f"looks for it in the exe's folder first (load it from System32)")
    for dll in sorted(delayed):
        if not is_windows_dll(dll):
            faults.append(f"{path}: delay-loads {dll}, which Windows does not have")

    characteristics = pe.OPTIONAL_HEADER.DllCharacteristics
    for flag, meaning in FLAGS.items():
        if not characteristics & pefile.DLL_CHARACTERISTICS[flag]:
            faults.append(f"{path}: not marked for {meaning}")

    if program:
        if "SetDefaultDllDirectories" not in imports.get("kernel32.dll", set()):
            faults.append(f"{path}: does not import SetDefaultDllDirectories")
        text = manifest(pe)
        if text is None:
            faults.append(f"{path}: has no manifest (without Common Controls 6 it does not "
                          f"start on Windows)")
        else:
            for pattern, what in MANIFEST_NEEDS:
                if not pattern.search(text):
                    faults.append(f"{path}: the manifest lacks {what}")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", action="append", default=[], help="the program's exe")
    parser.add_argument("--installer", action="append", default=[], help="a setup or uninstaller")
    args = parser.parse_args()
    if not args.program and not args.installer:
        parser.error("name at least one file")
    faults = []
    for path in args.program:
        faults += audit(path, program=True)
    for path in args.installer:
        faults += audit(path, program=False)
    for fault in faults:
        print(fault)
    if faults:
        return 1
    for path in args.program + args.installer:
        print(f"{path}: loads only Windows' own DLLs")
    return 0


if __name__ == "__main__":
    sys.exit(main())
