"""cmake --install puts the module and its stub where the interpreter finds them, and the module
finds the shared libraries installed beside it in the same prefix."""
import os
import pathlib
import re
import subprocess
import sys

import pytest

from conftest import ROOT

BUILD = pathlib.Path(os.environ.get("VELMORA_BUILD_DIR") or ROOT / "build")
CMAKE = os.environ.get("CMAKE_COMMAND") or "cmake"


def cached(variable):
    cache = (BUILD / "CMakeCache.txt").read_text(encoding="utf-8")
    return re.search(rf"^{variable}:[A-Z]+=(.*)$", cache, re.M).group(1)


def test_the_installed_module_imports_and_works(tmp_path):
    # The module and the shared libraries it runs on, nothing else.
    for component in ("runtime", "python"):
        subprocess.run([CMAKE, "--install", str(BUILD), "--component", component, "--prefix",
                        str(tmp_path)], check=True, capture_output=True)
    site = tmp_path / cached("VELMORA_PYTHON_INSTALL_DIR")
    installed = sorted(p.name for p in site.iterdir())
    assert len(installed) == 2 and installed[1] == "velmora.pyi"
    assert re.fullmatch(r"velmora\.cpython-\d+-.*\.so", installed[0])
    env = dict(os.environ, PYTHONPATH=str(site))
    out = subprocess.run(
        [sys.executable, "-c", "import velmora; print(velmora.__file__); "
         "print(velmora.Dolva(locale='es_MX').Letras(1234.5))"],
        check=True, capture_output=True, text=True, env=env).stdout.splitlines()
    assert out == [str(site / installed[0]), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."]


def test_the_default_prefix_is_on_the_interpreter_path():
    # Installed with the default prefix, the module lands in a folder the interpreter searches.
    prefix = cached("CMAKE_INSTALL_PREFIX")
    if prefix != "/usr/local":
        pytest.skip(f"configured for the prefix {prefix}")
    assert os.path.join(prefix, cached("VELMORA_PYTHON_INSTALL_DIR")) in sys.path
