#!/usr/bin/python3
"""The package managers' manifests, made from a package of this build the way `make package`
makes them (tools/make-manifests.py), pass tools/check-manifests.py: valid by the package
managers' schemas, with the hashes and versions of the files beside them, and the uninstall
entry that the setup really writes under Wine. Each change a hand might make to them (a hash,
the version, the uninstall entry's name) is then made to a copy, and the check must refuse it.

  manifests_test.py --build-dir B --cpack C --setup S --host H --release-path P
                    -- <make-manifests arguments that name no file of a package>
"""
import argparse
import importlib.util
import os
import re
import shutil
import subprocess
import sys

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The scripts loaded below leave no compiled copies in the source tree.
sys.dont_write_bytecode = True


def load(name, path):
    spec = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


CHECK = load("check_manifests", os.path.join(REPO, "tools", "check-manifests.py"))


def edit(folder, pattern, replace, change, count=1):
    """Changes the text of the manifests in `folder` whose name matches `pattern`, as a hand in
    an editor would; `count` files must have changed."""
    changed = 0
    for sub in ("winget", "scoop"):
        for name in sorted(os.listdir(os.path.join(folder, sub))):
            if not re.search(pattern, name):
                continue
            path = os.path.join(folder, sub, name)
            with open(path, encoding="utf-8") as f:
                text = f.read()
            new = re.sub(replace, change, text)
            if new != text:
                changed += 1
                with open(path, "w", encoding="utf-8") as f:
                    f.write(new)
    assert changed == count, f"the change {replace!r} met {changed} files, not {count}"


def flip_first_hex(match):
    text = match.group(0)
    i = len(text) - 64
    return text[:i] + ("0" if text[i] != "0" else "1") + text[i + 1:]


# What a hand might change, and must not get past the check.
TAMPERINGS = [
    ("the setup's hash", r"\.installer\.yaml$", r"InstallerSha256: [0-9A-Fa-f]{64}",
     flip_first_hex, 1),
    ("the zip's hash", r"\.json$", r'"hash": "[0-9a-f]{64}', flip_first_hex, 1),
    ("the winget version", r"\.yaml$", r"PackageVersion: '?[0-9.]+'?",
     "PackageVersion: '99.1'", 4),
    ("the Scoop version", r"\.json$", r'"version": "[0-9.]+"', '"version": "99.1"', 1),
    ("the uninstall entry's key name", r"\.installer\.yaml$", r"ProductCode: .+",
     "ProductCode: Lock Beacon 1", 1),
    ("the uninstall entry's display name", r"\.installer\.yaml$", r"DisplayName: .+",
     "DisplayName: Lockbeacon", 1),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--setup", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--release-path", required=True)
    parser.add_argument("generator", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    generator = [a for a in args.generator if a != "--"]

    work = os.path.join(args.build_dir, "manifests-test")
    release = os.path.join(work, "release")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(release)
    subprocess.run([args.cpack, "-G", "ZIP", "-B", release], cwd=args.build_dir, check=True,
                   stdout=subprocess.DEVNULL)
    shutil.rmtree(os.path.join(release, "_CPack_Packages"), ignore_errors=True)
    zips = [n for n in os.listdir(release) if n.endswith(".zip")]
    assert len(zips) == 1, zips
    shutil.copy(args.setup, release)
    subprocess.run([sys.executable, os.path.join(REPO, "tools", "make-manifests.py"),
                    "--zip", os.path.join(release, zips[0]), "--setup",
                    os.path.join(release, os.path.basename(args.setup)), *generator,
                    "--out", release],
                   check=True)

    entry = CHECK.installed_entry(CHECK.setup_of(release), os.path.join(REPO, "tools", "wine-run"))
    print(f"the setup wrote HKEY_CURRENT_USER\\...\\Uninstall\\{entry['key']}: "
          + ", ".join(f"{k}={entry['values'].get(k)!r}"
                      for k in ("DisplayName", "Publisher", "DisplayVersion")))
    failed = False
    problems = CHECK.check(release, entry, args.host, args.release_path)
    for problem in problems:
        print(f"FAIL: {problem}")
        failed = True
    if not problems:
        print(f"the manifests made from this build pass: {', '.join(sorted(os.listdir(release)))}")

    for what, files, pattern, change, count in TAMPERINGS:
        copy = os.path.join(work, "tampered")
        shutil.rmtree(copy, ignore_errors=True)
        shutil.copytree(release, copy)
        edit(copy, files, pattern, change, count)
        problems = CHECK.check(copy, entry, args.host, args.release_path)
        if problems:
            print(f"changed {what}: refused: {problems[0]}")
        else:
            print(f"FAIL: changed {what}: the check did not notice")
            failed = True
    if not failed:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
