"""The zizuduz wheel: the package with the Linux libraries of a CMake build of this tree beside it
(the folder ZIZUDUZ_BUILD_DIR names, build/native by default). Offline, from this folder:
python3 -m pip wheel --no-build-isolation --no-deps --no-index ."""
import os
import re
import shutil

from setuptools import Distribution, setup
from setuptools.command.build_py import build_py
from wheel.bdist_wheel import bdist_wheel

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as cmake_lists:
    VERSION = re.search(r"project\(ZIZUDUZ VERSION ([0-9.]+)", cmake_lists.read()).group(1)
MAJOR = VERSION.split(".")[0]
# Each library by its SONAME, as found beside the package: libZIZUDUZC's RUNPATH is $ORIGIN.
LIBRARIES = {f"libZIZUDUZC.so.{MAJOR}": "src/c", f"libZIZUDUZ.so.{MAJOR}": "."}


class BuildWithLibraries(build_py):
    def run(self):
        super().run()
        build = os.environ.get("ZIZUDUZ_BUILD_DIR") or os.path.join(ROOT, "build", "native")
        package = os.path.join(self.build_lib, "zizuduz")
        for name, folder in LIBRARIES.items():
            library = os.path.join(build, folder, name)
            if not os.path.exists(library):
                raise SystemExit(f"{library} is missing: build the library first (cmake --preset "
                                 "native && cmake --build --preset native) or name its build "
                                 "folder in ZIZUDUZ_BUILD_DIR")
            shutil.copyfile(library, os.path.join(package, name))  # the file, not the link
        with open(os.path.join(package, "_library.py"), "w", encoding="utf-8") as module:
            module.write(f"LIBRARY = 'libZIZUDUZC.so.{MAJOR}'  # beside this file\n")


class WithLibraries(Distribution):
    def has_ext_modules(self):
        return True  # a wheel for this platform, installed into platlib


class PlatformWheel(bdist_wheel):
    """Any Python 3 on this platform: the libraries are called through ctypes, not linked."""

    def get_tag(self):
        return "py3", "none", super().get_tag()[2]


setup(
    name="zizuduz",
    version=VERSION,
    description="General-purpose routines for Windows programs, over ZIZUDUZ's C interface",
    license="MIT",
    packages=["zizuduz"],
    python_requires=">=3.8",  # from 3.8 on, Windows finds a DLL's own DLLs beside it
    distclass=WithLibraries,
    cmdclass={"build_py": BuildWithLibraries, "bdist_wheel": PlatformWheel},
)
