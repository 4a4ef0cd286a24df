"""The wheel's tag: the package is pure Python for every Python 3 and
installs as such, but the library it carries is built for this machine, so
the wheel is py3-none for this platform alone. Everything else is in
pyproject.toml."""

from setuptools import setup
from wheel.bdist_wheel import bdist_wheel


class PlatformWheel(bdist_wheel):
    def finalize_options(self):
        super().finalize_options()
        # As if --plat-name had been given this machine's own platform.
        self.plat_name_supplied = True


setup(cmdclass={"bdist_wheel": PlatformWheel})
