#!/usr/bin/env python3
"""tools/check_layers on small trees of one include each, and on the real tree."""
import pathlib
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
CHECK = ROOT / "tools" / "check_layers"

# includer, include, whether the check passes
CASES = [
    ("controller/a.cpp", "state/b.h", True),  # down
    ("program-editing/a.cpp", "command-language/b.h", True),
    ("state/a.cpp", "b.h", True),  # beside it, same folder
    ("state/a.cpp", "controller/b.h", False),  # up
    ("command-language/a.h", "program-editing/b.h", False),
    ("serial/a.cpp", "localisation/b.h", False),  # sideways
    ("settings/a.cpp", "serial/b.h", False),
    ("state/a.cpp", "missing.h", False),  # no such file of the core
    ("widgets/a.cpp", "state/b.h", False),  # a folder with no place
]


def run(root):
    return subprocess.run([sys.executable, str(CHECK), str(root)], capture_output=True, text=True)


def main():
    failed = 0
    for includer, include, passes in CASES:
        with tempfile.TemporaryDirectory() as tmp:
            root = pathlib.Path(tmp)
            source = root / "src" / "core" / includer
            source.parent.mkdir(parents=True)
            source.write_text(f'#include <string>\n#include "{include}"\n')
            (root / "src" / "core" / "state").mkdir(exist_ok=True)
            (root / "src" / "core" / "state" / "b.h").write_text("")
            result = run(root)
            named = f"src/core/{includer}:2: includes \"{include}\"" in result.stdout
            if (result.returncode == 0) != passes or (not passes and not named and
                                                       not includer.startswith("widgets/")):
                failed += 1
                print(f"FAIL {includer} -> {include}: status {result.returncode}\n"
                      f"{result.stdout}{result.stderr}")
    real = run(ROOT)
    if real.returncode != 0:
        failed += 1
        print(f"FAIL the real tree:\n{real.stdout}{real.stderr}")
    print(f"{len(CASES) + 1 - failed} of {len(CASES) + 1} passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
