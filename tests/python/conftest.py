"""Shared fixtures of the Python module's tests.

ctest runs each file with PYTHONPATH pointing at build/python and VELMORA_CLI at the command
line; run by hand, the default build's folders are used.
"""
import datetime
import os
import pathlib
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
if "velmora" not in sys.modules and not os.environ.get("PYTHONPATH"):
    sys.path.insert(0, str(ROOT / "build" / "python"))

import velmora  # noqa: E402

# The instant every test's clock stands at: Sunday 15 March 2009, 17:30.
NOW = datetime.datetime(2009, 3, 15, 17, 30)


@pytest.fixture
def d():
    """A Dolva in es_MX on the fixed clock."""
    return velmora.Dolva(locale="es_MX", now=NOW)


@pytest.fixture
def en():
    """A Dolva in en_US on the fixed clock."""
    return velmora.Dolva(locale="en_US", now=NOW)


@pytest.fixture
def unattended(monkeypatch):
    """Message boxes answered with their default button, their text on standard error."""
    monkeypatch.setenv("VELMORA_UNATTENDED", "1")


@pytest.fixture(scope="session")
def cli():
    path = os.environ.get("VELMORA_CLI") or str(ROOT / "build" / "bin" / "velmora")
    if not os.access(path, os.X_OK):
        pytest.fail(f"the command line is not built: {path}")
    return path
