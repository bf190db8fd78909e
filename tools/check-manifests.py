#!/usr/bin/python3
"""Checks the package managers' manifests of a release folder (build/release after
`make package`) before they are published:

  - each is valid by the package manager's own schema (third_party/package-manager-schemas);
  - the hashes are those of the setup and the zip beside them, the addresses name those files;
  - the versions are those of the files' version blocks;
  - the winget installer entry says what the setup really writes: the setup is installed
    silently under Wine (tools/wine-run) and its uninstall entry compared with ProductCode and
    AppsAndFeaturesEntries, then uninstalled again.

  tools/check-manifests.py build/release [--host H --release-path P] [--no-install]

It starts a Wine environment of its own under build/check-manifests and ends it afterwards,
unless LOCKBEACON_WINE_DIR names one to use.

Prints each problem found and ends with 1, or with 0 when there is none. Debian's
/usr/bin/python3 with python3-yaml and python3-jsonschema.
"""
import argparse
import glob
import hashlib
import importlib.util
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

import jsonschema
import yaml

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The scripts loaded below leave no compiled copies in the source tree.
sys.dont_write_bytecode = True
SCHEMAS = os.path.join(REPO, "third_party", "package-manager-schemas")
UNINSTALL = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"


def _generator():
    spec = importlib.util.spec_from_file_location(
        "make_manifests", os.path.join(REPO, "tools", "make-manifests.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


GENERATOR = _generator()


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def schema_problems(document, schema_path, name):
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.validators.validator_for(schema)(schema)
    return [f"{name}: {'/'.join(map(str, error.absolute_path)) or '(top)'}: {error.message}"
            for error in sorted(validator.iter_errors(document), key=lambda e: e.path)]


def file_named_by(url, folder, name):
    """The file beside the manifests that `url` downloads, or a problem."""
    path = os.path.join(folder, url.rstrip("/").rsplit("/", 1)[-1])
    if not os.path.isfile(path):
        return None, f"{name}: {url} names {os.path.basename(path)}, which is not beside it"
    return path, None


def program_version(path):
    version, _, _ = GENERATOR.read_version_block(path)
    return f"{version[0]}.{version[1]}"


def zip_facts(zip_path):
    """The zip's top folders, its files, and the version of the LockBeacon.exe in it."""
    with zipfile.ZipFile(zip_path) as archive:
        names = archive.namelist()
        with tempfile.TemporaryDirectory() as work:
            exe, _, _ = GENERATOR.exe_in_zip(zip_path, work)
            version = program_version(exe)
    return {n.split("/")[0] for n in names}, set(names), version


# ---------------------------------------------------------------------------------------------
# The setup under Wine.

def wine(wine_run, *args, check=True):
    result = subprocess.run([wine_run, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            text=True, errors="replace", timeout=300)
    if check and result.returncode != 0:
        raise RuntimeError(f"wine {' '.join(args)} ended with {result.returncode}: "
                           f"{result.stderr.strip()}")
    return result.stdout


def uninstall_entries(wine_run):
    """Every key of the current user's uninstall list: {key name: {value name: text}}."""
    out = wine(wine_run, "reg", "query", UNINSTALL, "/s", check=False)
    entries, current = {}, None
    for line in out.splitlines():
        if line.startswith(UNINSTALL + "\\"):
            current = entries.setdefault(line[len(UNINSTALL) + 1:].strip(), {})
        elif current is not None and line.startswith("    "):
            parts = re.split(r" {4}", line.strip(), maxsplit=2)
            if len(parts) == 3 and parts[1] == "REG_SZ":
                current[parts[0]] = parts[2]
    return entries


def installed_entry(setup, wine_run):
    """Installs `setup` silently, as winget does (/S /D=<folder>), into a fresh folder of the
    Wine prefix; returns the uninstall entry it wrote there (key name and values), after
    uninstalling it again."""
    # The setup installs only inside the user's own profile; /D= takes the rest of the line, and
    # Wine quotes an argument with a blank, so the folder must have none.
    profile = wine(wine_run, "cmd", "/c", "echo %USERPROFILE%").strip()
    folder = profile + "\\lockbeacon-manifest-check"
    if not profile or " " in folder:
        raise RuntimeError(f"no profile folder without blanks to install into: {profile!r}")
    unix_folder = wine(wine_run, "winepath", "-u", folder).strip()
    shutil.rmtree(unix_folder, ignore_errors=True)
    try:
        wine(wine_run, setup, "/S", f"/D={folder}")
        found = {key: values for key, values in uninstall_entries(wine_run).items()
                 if values.get("InstallLocation", "").lower() == folder.lower()}
        if len(found) != 1:
            raise RuntimeError(f"the setup wrote {len(found)} uninstall entries for {folder} "
                               f"in HKEY_CURRENT_USER: {sorted(found)}")
        key, values = next(iter(found.items()))
        return {"key": key, "values": values}
    finally:
        uninstaller = os.path.join(unix_folder, "Uninstall.exe")
        if os.path.exists(uninstaller):
            # _?= runs the uninstaller in place, so that its end is waited for.
            wine(wine_run, f"{folder}\\Uninstall.exe", "/S", f"_?={folder}", check=False)
        shutil.rmtree(unix_folder, ignore_errors=True)


# ---------------------------------------------------------------------------------------------

def load_winget(folder):
    manifests, problems = {}, []
    paths = sorted(glob.glob(os.path.join(folder, "winget", "*.yaml")))
    if not paths:
        return manifests, ["winget: no manifest in winget/"]
    for path in paths:
        with open(path, encoding="utf-8") as f:
            document = yaml.safe_load(f)
        kind = document.get("ManifestType") if isinstance(document, dict) else None
        if kind not in ("version", "installer", "defaultLocale", "locale"):
            problems.append(f"{os.path.basename(path)}: unknown ManifestType {kind!r}")
            continue
        manifests.setdefault(kind, []).append((os.path.basename(path), document))
    return manifests, problems


def check_winget(folder, entry, host, release_path):
    manifests, problems = load_winget(folder)
    for kind, documents in manifests.items():
        for name, document in documents:
            schema = os.path.join(SCHEMAS, f"winget-{document.get('ManifestVersion')}",
                                  f"manifest.{kind}.{document.get('ManifestVersion')}.json")
            if not os.path.isfile(schema):
                problems.append(f"{name}: no schema for ManifestVersion "
                                f"{document.get('ManifestVersion')}")
                continue
            problems += schema_problems(document, schema, name)
    for kind in ("version", "installer", "defaultLocale"):
        if len(manifests.get(kind, [])) != 1:
            problems.append(f"winget: {len(manifests.get(kind, []))} {kind} manifests, not one")
    if problems:
        return problems
    everything = [d for documents in manifests.values() for d in documents]
    version = manifests["version"][0][1]
    for name, document in everything:
        for field in ("PackageIdentifier", "PackageVersion"):
            if document.get(field) != version[field]:
                problems.append(f"{name}: {field} {document.get(field)!r}, the version manifest "
                                f"says {version[field]!r}")
    locales = {d["PackageLocale"] for _, d in manifests.get("locale", [])}
    default = manifests["defaultLocale"][0][1]
    if default["PackageLocale"] != version["DefaultLocale"]:
        problems.append(f"winget: the default locale is {default['PackageLocale']}, the version "
                        f"manifest says {version['DefaultLocale']}")
    if "de-DE" not in locales:
        problems.append("winget: no de-DE locale")

    name, installer = manifests["installer"][0]
    for item in installer.get("Installers", []):
        url = item["InstallerUrl"]
        setup, problem = file_named_by(url, folder, name)
        if problem:
            problems.append(problem)
            continue
        if item["InstallerSha256"].lower() != sha256(setup):
            problems.append(f"{name}: InstallerSha256 {item['InstallerSha256']} is not the "
                            f"SHA-256 of {os.path.basename(setup)} ({sha256(setup).upper()})")
        real = program_version(setup)
        if version["PackageVersion"] != real:
            problems.append(f"winget: PackageVersion {version['PackageVersion']!r}, but "
                            f"{os.path.basename(setup)}'s version block says {real}")
        if host:
            want = f"https://{host}{release_path}/{real}/{os.path.basename(setup)}"
            if url != want:
                problems.append(f"{name}: InstallerUrl {url}, not {want}")
    if entry is not None:
        key, values = entry["key"], entry["values"]
        code = installer.get("ProductCode")
        if code != key:
            problems.append(f"{name}: ProductCode {code!r}, but the setup's uninstall entry is "
                            f"HKEY_CURRENT_USER\\...\\Uninstall\\{key}")
        arp = installer.get("AppsAndFeaturesEntries") or [{}]
        if len(arp) != 1:
            problems.append(f"{name}: {len(arp)} AppsAndFeaturesEntries, the setup writes one")
        for field in ("DisplayName", "Publisher", "DisplayVersion", "ProductCode"):
            real = key if field == "ProductCode" else values.get(field)
            if arp[0].get(field) != real:
                problems.append(f"{name}: AppsAndFeaturesEntries {field} {arp[0].get(field)!r}, "
                                f"the setup writes {real!r}")
    return problems


def check_scoop(folder, host, release_path):
    paths = sorted(glob.glob(os.path.join(folder, "scoop", "*.json")))
    if len(paths) != 1:
        return [f"scoop: {len(paths)} manifests in scoop/, not one"]
    name = os.path.basename(paths[0])
    with open(paths[0], encoding="utf-8") as f:
        manifest = json.load(f)
    problems = schema_problems(manifest, os.path.join(SCHEMAS, "scoop", "schema.json"), name)
    if problems:
        return problems
    architectures = manifest.get("architecture", {})
    if not architectures:
        return [f"{name}: no architecture entry"]
    for arch, item in architectures.items():
        url = item["url"]
        archive, problem = file_named_by(url, folder, name)
        if problem:
            problems.append(problem)
            continue
        if item["hash"].lower().removeprefix("sha256:") != sha256(archive):
            problems.append(f"{name}: hash {item['hash']} is not the SHA-256 of "
                            f"{os.path.basename(archive)} ({sha256(archive)})")
        tops, files, real = zip_facts(archive)
        if manifest["version"] != real:
            problems.append(f"{name}: version {manifest['version']!r}, but the LockBeacon.exe in "
                            f"{os.path.basename(archive)} says {real}")
        if tops != {item.get("extract_dir")}:
            problems.append(f"{name}: extract_dir {item.get('extract_dir')!r}, the zip holds "
                            f"{sorted(tops)}")
        for shortcut in manifest.get("shortcuts", []):
            if f"{item.get('extract_dir')}/{shortcut[0]}" not in files:
                problems.append(f"{name}: the shortcut's {shortcut[0]} is not in the zip")
        if host:
            want = f"https://{host}{release_path}/{real}/{os.path.basename(archive)}"
            if url != want:
                problems.append(f"{name}: url {url}, not {want}")
        # The next release, as Scoop's autoupdate and checkver find it.
        auto = manifest["autoupdate"]["architecture"][arch]
        for field in ("url", "extract_dir"):
            if auto[field].replace("$version", manifest["version"]) != item[field]:
                problems.append(f"{name}: autoupdate {field} {auto[field]} does not give "
                                f"{item[field]}")
        found = re.search(manifest["checkver"]["regex"], os.path.basename(archive))
        if not found or found.group(1) != manifest["version"]:
            problems.append(f"{name}: checkver's regex does not find version "
                            f"{manifest['version']} in {os.path.basename(archive)}")
    persisted = manifest.get("persist")
    if "settings.ini" not in ([persisted] if isinstance(persisted, str) else persisted or []):
        problems.append(f"{name}: settings.ini is not persisted")
    return problems


def check(folder, entry, host=None, release_path=None):
    return check_winget(folder, entry, host, release_path) + check_scoop(folder, host,
                                                                         release_path)


def setup_of(folder):
    manifests, _ = load_winget(folder)
    for _, installer in manifests.get("installer", []):
        for item in installer.get("Installers", []):
            path, _ = file_named_by(item["InstallerUrl"], folder, "")
            if path:
                return path
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", help="the release folder (build/release)")
    parser.add_argument("--host", help="the maker's web server the addresses must name")
    parser.add_argument("--release-path", default="", help="the releases' folder on it")
    parser.add_argument("--no-install", action="store_true",
                        help="do not install the setup under Wine to compare its entry")
    parser.add_argument("--wine-run", default=os.path.join(REPO, "tools", "wine-run"))
    args = parser.parse_args()
    entry = None
    setup = None if args.no_install else setup_of(args.folder)
    if setup:
        # A Wine environment of its own, ended afterwards, unless the caller names one.
        own = "LOCKBEACON_WINE_DIR" not in os.environ
        if own:
            os.environ["LOCKBEACON_WINE_DIR"] = os.path.join(REPO, "build", "check-manifests")
        try:
            entry = installed_entry(setup, args.wine_run)
        finally:
            if own:
                subprocess.run([os.path.join(REPO, "tools", "wine-env.sh"), "stop"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    problems = check(args.folder, entry, args.host, args.release_path)
    for problem in problems:
        print(f"check-manifests: {problem}")
    if not problems:
        print(f"check-manifests: the manifests in {args.folder} match their files"
              + ("" if entry is None else f" and the setup's uninstall entry {entry['key']!r}"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
