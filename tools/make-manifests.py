#!/usr/bin/python3
"""Writes the package managers' manifests of a release from the files `make package` just made:

  winget/<id>.yaml, <id>.installer.yaml, <id>.locale.en-US.yaml, <id>.locale.de-DE.yaml
        the Windows Package Manager's multi-file manifest of the setup
  scoop/<product>.json (lock-beacon.json)
        a Scoop app manifest of the portable zip
  license.txt
        the licence and notices the manifests link to

Nothing in them is typed by hand: the version, the publisher, the product and the copyright come
from the version block of the LockBeacon.exe in the zip (which the build takes from the project's
VERSION), checked against the setup's own version block; the uninstall entry from the setup's
script (installer/lock_beacon.nsi); the hashes from the files; the licence names from
license.txt. The download addresses are https://<server host><release path>/<version>/<file>.

Run by the build (cmake/Manifests.cmake); Debian's /usr/bin/python3 with python3-yaml.
"""
import argparse
import hashlib
import json
import os
import re
import shutil
import struct
import sys
import zipfile

import yaml

WINGET_MANIFEST_VERSION = "1.12.0"

# The descriptions of the package, in the locales of the winget manifest.
TEXTS = {
    "en-US": {
        "ShortDescription": "Shows the state of Num Lock, Caps Lock and Scroll Lock.",
        "Description": (
            "{product} shows the state of Num Lock, Caps Lock and Scroll Lock, for laptops and "
            "keyboards without lock-key lights. Its icon in the notification area shows the "
            "three states as small lamps at any time; whenever a lock key is pressed, a small "
            "always-on-top window shows three LEDs and a status line such as \"Caps Lock: ON\", "
            "plays an on or off sound, and hides again after a while. Everything is set from "
            "the tray menu and kept in settings.ini; the interface speaks many languages."
        ),
        "Tags": ["caps-lock", "num-lock", "scroll-lock", "keyboard", "lock-keys", "indicator",
                 "notification-area", "tray"],
        "License": "{license}; contains {components} under their own licences (license.txt)",
    },
    "de-DE": {
        "ShortDescription": "Zeigt den Zustand von Num-Taste, Feststelltaste und Rollen-Taste.",
        "Description": (
            "{product} zeigt den Zustand von Num-Taste, Feststelltaste und Rollen-Taste, für "
            "Laptops und Tastaturen ohne Leuchtanzeigen. Sein Symbol im Infobereich zeigt die "
            "drei Zustände jederzeit als kleine Lämpchen; bei jedem Druck auf eine dieser Tasten "
            "zeigt ein kleines Fenster im Vordergrund drei LEDs und eine Statuszeile wie "
            "\"Caps Lock: ON\", spielt einen Ton und verschwindet nach einer Weile wieder. Alles "
            "wird im Menü des Symbols eingestellt und in settings.ini gespeichert; die "
            "Oberfläche gibt es in vielen Sprachen."
        ),
        "Tags": ["feststelltaste", "num-taste", "rollen-taste", "tastatur", "anzeige",
                 "infobereich", "caps-lock", "num-lock"],
        "License": "{license}; enthält {components} unter deren eigenen Lizenzen (license.txt)",
    },
}


class ManifestError(Exception):
    pass


# ---------------------------------------------------------------------------------------------
# The version block of a Windows program (its RT_VERSION resource).

def _pe_sections(data):
    if data[:2] != b"MZ":
        raise ManifestError("no Windows program")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ManifestError("no PE header")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size
    mapped = []
    for i in range(sections):
        _, virtual_size, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
        mapped.append((rva, max(virtual_size, raw_size), raw))
    return machine, resource_rva, resource_size, mapped


def _offset(mapped, rva):
    for start, size, raw in mapped:
        if start <= rva < start + size:
            return raw + rva - start
    raise ManifestError("resource outside every section")


def _version_resource(data):
    machine, root_rva, _, mapped = _pe_sections(data)
    if not root_rva:
        raise ManifestError("no resources")
    root = _offset(mapped, root_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<HH", data, directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
            yield name, target

    def first_leaf(target):
        while target & 0x80000000:
            target = next(entries(root + (target & 0x7FFFFFFF)))[1]
        rva, size = struct.unpack_from("<II", data, root + target)
        start = _offset(mapped, rva)
        return data[start:start + size]

    for name, target in entries(root):
        if name == 16:  # RT_VERSION
            return machine, first_leaf(target)
    raise ManifestError("no version block")


def _block(data, pos):
    """One node of VS_VERSIONINFO: (key, value bytes, is text, children, end)."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    p = pos + 6
    key_end = p
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[p:key_end].decode("utf-16-le")
    p = (key_end + 2 + 3) & ~3
    size = value_length * 2 if is_text else value_length
    value = data[p:min(p + size, end)]
    p = (p + size + 3) & ~3
    children = []
    while p + 6 <= end:
        child = _block(data, p)
        if child[4] <= p:
            break
        children.append(child)
        p = (child[4] + 3) & ~3
    return key, value, is_text, children, end


def read_version_block(path):
    """The fixed file version (four numbers), the string values and the machine of a program."""
    with open(path, "rb") as f:
        data = f.read()
    machine, resource = _version_resource(data)
    key, value, _, children, _ = _block(resource, 0)
    if key != "VS_VERSION_INFO" or len(value) < 52:
        raise ManifestError(f"{path}: no fixed version")
    signature, _, file_ms, file_ls = struct.unpack_from("<IIII", value, 0)
    if signature != 0xFEEF04BD:
        raise ManifestError(f"{path}: damaged fixed version")
    version = (file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF)
    strings = {}
    for child in children:
        if child[0] != "StringFileInfo":
            continue
        for table in child[3][:1]:
            for entry in table[3]:
                strings[entry[0]] = entry[1].decode("utf-16-le").split("\0")[0]
    return version, strings, machine


# ---------------------------------------------------------------------------------------------
# What the setup writes into the uninstall list, from its script.

def uninstall_entry(nsi_path, version):
    """The key name (below ...\\Uninstall) and the text values the setup's script writes there,
    with the build's VERSION in place of ${VERSION}."""
    with open(nsi_path, encoding="utf-8") as f:
        script = f.read()
    defines = {"VERSION": version}
    for name, value in re.findall(r'^!define\s+(\w+)\s+"([^"]*)"', script, re.M):
        defines[name] = value

    def expand(text):
        return re.sub(r"\$\{(\w+)\}", lambda m: defines.get(m.group(1), m.group(0)), text)

    key = expand("${UNINSTALL_KEY}")
    prefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    if not key.startswith(prefix):
        raise ManifestError(f"{nsi_path}: UNINSTALL_KEY is not in the uninstall list: {key}")
    values = {}
    for name, value in re.findall(
            r'^\s*WriteRegStr\s+HKCU\s+"\$\{UNINSTALL_KEY\}"\s+"(\w+)"\s+"([^"]*)"', script, re.M):
        values[name] = expand(value)
    for needed in ("DisplayName", "DisplayVersion", "Publisher"):
        if needed not in values or "${" in values[needed]:
            raise ManifestError(f"{nsi_path}: the uninstall entry's {needed} is not found")
    return key[len(prefix):], values


# ---------------------------------------------------------------------------------------------

def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 20), b""):
            digest.update(chunk)
    return digest.hexdigest().upper()


def license_facts(license_path):
    """The program's own licence (an SPDX name) and the names of the parts whose notices follow."""
    with open(license_path, encoding="utf-8") as f:
        text = f.read()
    sections = re.split(r"^={20,}\n(.+)\n={20,}\n", text, flags=re.M)
    # ["", title 1, body 1, title 2, body 2, ...]
    titles, bodies = sections[1::2], sections[2::2]
    if not titles:
        raise ManifestError(f"{license_path}: no sections")
    own = bodies[0]
    if "Permission is hereby granted, free of charge" in own:
        spdx = "MIT"
    else:
        raise ManifestError(f"{license_path}: the program's own licence is not the MIT licence "
                            "this script knows; teach it the new one")
    components = [re.split(r" - ", title, maxsplit=1)[0].strip() for title in titles[1:]]
    return spdx, components


def english_list(items, conjunction):
    return items[0] if len(items) == 1 else ", ".join(items[:-1]) + f" {conjunction} " + items[-1]


def exe_in_zip(zip_path, work):
    """Unpacks LockBeacon.exe of the zip into `work`; returns its path and the zip's top folder."""
    with zipfile.ZipFile(zip_path) as archive:
        names = archive.namelist()
        exes = [n for n in names if n.count("/") == 1 and n.lower().endswith("/lockbeacon.exe")]
        if len(exes) != 1:
            raise ManifestError(f"{zip_path}: no single <folder>/LockBeacon.exe")
        folder, exe = exes[0].split("/")
        target = os.path.join(work, "LockBeacon.exe")
        with archive.open(exes[0]) as source, open(target, "wb") as out:
            shutil.copyfileobj(source, out)
    return target, folder, exe


MACHINES = {0x8664: ("x64", "64bit"), 0x14C: ("x86", "32bit"), 0xAA64: ("arm64", "arm64")}


def release_facts(zip_path, setup_path, work):
    """Everything the manifests say, read from the built files."""
    exe, folder, exe_name = exe_in_zip(zip_path, work)
    version, strings, machine = read_version_block(exe)
    if machine not in MACHINES:
        raise ManifestError(f"{exe}: unknown machine {machine:#x}")
    for needed in ("CompanyName", "ProductName", "LegalCopyright"):
        if not strings.get(needed):
            raise ManifestError(f"LockBeacon.exe: the version block has no {needed}")
    facts = {
        "version": f"{version[0]}.{version[1]}",  # as the program shows it (major.minor)
        "version_quad": ".".join(map(str, version)),
        "publisher": strings["CompanyName"],
        "product": strings["ProductName"],
        "copyright": strings["LegalCopyright"],
        "architecture": MACHINES[machine],
        "zip": os.path.basename(zip_path),
        "zip_sha256": sha256(zip_path),
        "zip_folder": folder,
        "exe_name": exe_name,
    }
    if setup_path:
        setup_version, _, _ = read_version_block(setup_path)
        if setup_version != version:
            raise ManifestError(
                f"the setup's version {'.'.join(map(str, setup_version))} is not the program's "
                f"{facts['version_quad']}")
        facts["setup"] = os.path.basename(setup_path)
        facts["setup_sha256"] = sha256(setup_path)
    return facts


def slug(facts):
    """The product's name in addresses: lower case, hyphens for blanks ("lock-beacon")."""
    return re.sub(r"\s+", "-", facts["product"].strip().lower())


def identifier(facts):
    squeeze = lambda text: re.sub(r"[^A-Za-z0-9-]", "", text)
    return f"{squeeze(facts['publisher'])}.{squeeze(facts['product'])}"


def addresses(host, release_path, facts):
    base = f"https://{host}{release_path.rstrip('/')}"
    return {
        "folder": f"{base}/",
        "release": f"{base}/{facts['version']}/",
        "home": f"https://{host}/",
        "help": f"https://{host}/help/{slug(facts)}/",
    }


def winget_manifests(facts, key, entry, spdx, components, urls):
    ident = identifier(facts)
    common = {"PackageIdentifier": ident, "PackageVersion": facts["version"]}
    version = {**common, "DefaultLocale": "en-US", "ManifestType": "version",
               "ManifestVersion": WINGET_MANIFEST_VERSION}
    installer = {
        **common,
        "InstallerType": "nullsoft",
        "Scope": "user",
        "InstallModes": ["interactive", "silent", "silentWithProgress"],
        "InstallerSwitches": {"Silent": "/S", "SilentWithProgress": "/S",
                              "InstallLocation": "/D=<INSTALLPATH>"},
        "UpgradeBehavior": "install",
        "ProductCode": key,
        "AppsAndFeaturesEntries": [{
            "DisplayName": entry["DisplayName"],
            "Publisher": entry["Publisher"],
            "DisplayVersion": entry["DisplayVersion"],
            "ProductCode": key,
        }],
        "MinimumOSVersion": "10.0.0.0",
        "Installers": [{
            "Architecture": facts["architecture"][0],
            "InstallerUrl": urls["release"] + facts["setup"],
            "InstallerSha256": facts["setup_sha256"],
        }],
        "ManifestType": "installer",
        "ManifestVersion": WINGET_MANIFEST_VERSION,
    }
    files = {f"{ident}.yaml": ("version", version),
             f"{ident}.installer.yaml": ("installer", installer)}
    for locale, texts in TEXTS.items():
        default = locale == "en-US"
        conjunction = "and" if locale.startswith("en") else "und"
        manifest = {
            **common,
            "PackageLocale": locale,
            "Publisher": facts["publisher"],
            "PublisherUrl": urls["home"],
            "PackageName": facts["product"],
            "PackageUrl": urls["help"],
            "License": texts["License"].format(license=spdx,
                                               components=english_list(components, conjunction)),
            "LicenseUrl": urls["release"] + "license.txt",
            "Copyright": facts["copyright"],
            "ShortDescription": texts["ShortDescription"],
            "Description": texts["Description"].format(product=facts["product"]),
            "Tags": texts["Tags"],
        }
        if default:
            manifest["Moniker"] = slug(facts)
        manifest["ManifestType"] = "defaultLocale" if default else "locale"
        manifest["ManifestVersion"] = WINGET_MANIFEST_VERSION
        kind = "defaultLocale" if default else "locale"
        files[f"{ident}.locale.{locale}.yaml"] = (kind, manifest)
    return files


def scoop_manifest(facts, spdx, urls):
    arch = facts["architecture"][1]
    settings = "settings.ini"
    zip_pattern = facts["zip"].replace(facts["version"], "$version")
    folder_pattern = facts["zip_folder"].replace(facts["version"], "$version")
    return {
        "version": facts["version"],
        "description": TEXTS["en-US"]["ShortDescription"],
        "homepage": urls["help"],
        "license": {"identifier": spdx, "url": urls["release"] + "license.txt"},
        "architecture": {arch: {
            "url": urls["release"] + facts["zip"],
            "hash": facts["zip_sha256"].lower(),
            "extract_dir": facts["zip_folder"],
        }},
        # Scoop makes a folder of a persisted name that is neither in the app nor persisted yet:
        # an empty settings.ini is laid there first, and the program fills it.
        "pre_install": [
            f'if (!(Test-Path "$persist_dir\\{settings}")) '
            f'{{ New-Item -ItemType File "$dir\\{settings}" | Out-Null }}',
        ],
        "persist": settings,
        # The program saves settings.ini by writing a new file that replaces the old one, which
        # parts it from the persisted hard link: before an update or uninstallation removes the
        # app's folder, its settings.ini is copied back (read whole first, so that a file still
        # linked is rewritten with its own bytes).
        "uninstaller": {"script": [
            f'$live = "$dir\\{settings}"',
            f'if (Test-Path $live -PathType Leaf) {{ $bytes = [IO.File]::ReadAllBytes($live); '
            f'[IO.File]::WriteAllBytes("$persist_dir\\{settings}", $bytes) }}',
        ]},
        "shortcuts": [[facts["exe_name"], facts["product"]]],
        "checkver": {
            "url": urls["folder"],
            "regex": facts["zip"].replace(".", r"\.").replace(
                facts["version"].replace(".", r"\."), r"([\d.]+)"),
        },
        "autoupdate": {"architecture": {arch: {
            "url": urls["folder"] + "$version/" + zip_pattern,
            "extract_dir": folder_pattern,
        }}},
    }


def header(schema_kind, facts):
    return (f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{schema_kind}."
            f"{WINGET_MANIFEST_VERSION}.schema.json\n"
            f"# Made by tools/make-manifests.py from {facts['setup']} and {facts['zip']}; "
            "not to be edited by hand.\n")


def write_all(args):
    work = os.path.join(args.out, ".manifest-work")
    os.makedirs(work, exist_ok=True)
    try:
        facts = release_facts(args.zip, args.setup, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    spdx, components = license_facts(args.license)
    urls = addresses(args.host, args.release_path, facts)
    written = []

    shutil.copyfile(args.license, os.path.join(args.out, "license.txt"))
    written.append("license.txt")

    winget_dir = os.path.join(args.out, "winget")
    shutil.rmtree(winget_dir, ignore_errors=True)
    if args.setup:
        key, entry = uninstall_entry(args.nsi, facts["version"])
        os.makedirs(winget_dir)
        for name, (kind, manifest) in winget_manifests(facts, key, entry, spdx, components,
                                                       urls).items():
            with open(os.path.join(winget_dir, name), "w", encoding="utf-8") as f:
                f.write(header(kind, facts))
                yaml.safe_dump(manifest, f, sort_keys=False, allow_unicode=True, width=100)
            written.append(f"winget/{name}")
    else:
        print("make-manifests: no setup, so no winget manifest", file=sys.stderr)

    scoop_dir = os.path.join(args.out, "scoop")
    os.makedirs(scoop_dir, exist_ok=True)
    with open(os.path.join(scoop_dir, f"{slug(facts)}.json"), "w", encoding="utf-8") as f:
        json.dump(scoop_manifest(facts, spdx, urls), f, indent=4, ensure_ascii=False)
        f.write("\n")
    written.append(f"scoop/{slug(facts)}.json")
    return facts, written


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zip", required=True, help="the portable zip")
    parser.add_argument("--setup", help="the setup (no winget manifest without one)")
    parser.add_argument("--nsi", required=True, help="the setup's script")
    parser.add_argument("--license", required=True, help="license.txt")
    parser.add_argument("--host", required=True, help="the maker's web server")
    parser.add_argument("--release-path", required=True, help="the releases' folder on it")
    parser.add_argument("--out", required=True, help="where the manifests go")
    args = parser.parse_args()
    try:
        facts, written = write_all(args)
    except (ManifestError, OSError, zipfile.BadZipFile, struct.error) as error:
        print(f"make-manifests: {error}", file=sys.stderr)
        return 1
    print(f"make-manifests: {facts['product']} {facts['version']}: "
          + ", ".join(os.path.join(args.out, name) for name in written))
    return 0


if __name__ == "__main__":
    sys.exit(main())
