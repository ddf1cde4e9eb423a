"""The README's Python example prints what the README says it prints."""
import os
import re
import subprocess
import sys

import velmora
from conftest import ROOT


def test_the_readme_example_and_its_output():
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    section = readme.split("\n## From Python\n", 1)[1].split("\n## ", 1)[0]
    code = re.search(r"```python\n(.*?)```", section, re.S).group(1)
    shown = re.search(r"```console\n\$ [^\n]*\n(.*?)```", section, re.S).group(1)
    env = dict(os.environ, PYTHONPATH=os.path.dirname(velmora.__file__))
    done = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, env=env,
                          check=True)
    assert done.stdout == shown
