"""Installs the package; with VXL_LIBRARY set to a built libvxl.so, a copy of that library goes into
the package, so that `import vxl` needs nothing else."""

import os
import shutil
from pathlib import Path

from setuptools import setup
from setuptools.command.build_py import build_py


class BuildWithLibrary(build_py):
    def run(self) -> None:
        super().run()
        library = os.environ.get("VXL_LIBRARY")
        if library:
            # pip builds in this folder: a relative path may be meant from the source tree's root.
            found = [p for p in (Path(library), Path(__file__).resolve().parent.parent / library) if p.is_file()]
            if not found:
                raise SystemExit(f"VXL_LIBRARY={library}: no such file")
            target = Path(self.build_lib) / "vxl" / "libvxl.so"
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(os.path.realpath(found[0]), target)


setup(cmdclass={"build_py": BuildWithLibrary})
