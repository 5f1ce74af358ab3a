"""cmake --install and cpack -G DEB: the binary, the desktop entry and the
icons land where a desktop looks for them, and the package names the Debian
Qt 6 runtime as its dependencies."""

import glob
import os
import subprocess
import tempfile
import unittest

from PIL import Image

from kelvo_window import run_tests

BUILD = os.environ.get("KELVO_BUILD_DIR", "")


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, check=True, timeout=600).stdout


class Install(unittest.TestCase):
    def test_install_tree_and_debian_package(self):
        with tempfile.TemporaryDirectory() as tmp:
            prefix = os.path.join(tmp, "usr")
            run("cmake", "--install", BUILD, "--prefix", prefix)
            self.assertIn("kelvo 0.02", run(os.path.join(prefix, "bin/kelvo"), "--version"))
            entry = os.path.join(prefix, "share/applications/kelvo.desktop")
            run("desktop-file-validate", entry)
            self.assertIn("Exec=kelvo %f", open(entry).read())
            icons = os.path.join(prefix, "share/icons/hicolor")
            self.assertTrue(os.path.exists(os.path.join(icons, "scalable/apps/kelvo.svg")))
            for size in (48, 256):
                png = Image.open(os.path.join(icons, f"{size}x{size}/apps/kelvo.png"))
                self.assertEqual(png.size, (size, size))

            run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                "-B", tmp)
            (deb,) = glob.glob(os.path.join(tmp, "kelvo_*.deb"))
            depends = run("dpkg-deb", "-f", deb, "Depends")
            for package in ("libqt6widgets6", "libqt6gui6", "qt6-qpa-plugins"):
                self.assertIn(package, depends)
            self.assertIn("./usr/bin/kelvo", run("dpkg-deb", "-c", deb))


if __name__ == "__main__":
    run_tests()
