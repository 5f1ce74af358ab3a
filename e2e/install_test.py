# SPDX-License-Identifier: MIT
"""cmake --install and cpack -G DEB: the binary, its manual page, the desktop
entry, metainfo, MIME type and icons land where a desktop looks for them and
pass the desktop's own validators; the package names the Debian Qt 6 runtime
as its dependencies and lintian finds neither error nor warning in it."""

import glob
import os
import subprocess
import tempfile
import unittest

from PIL import Image

from kelvo_window import run_tests

BUILD = os.environ.get("KELVO_BUILD_DIR", "")
ID = "org.kelvo.kelvo"


def run(*args):
    r = subprocess.run(args, capture_output=True, text=True, timeout=600)
    if r.returncode:
        raise AssertionError(f"{' '.join(args)} failed ({r.returncode}):\n{r.stdout}{r.stderr}")
    return r.stdout


def read(path):
    with open(path) as f:
        return f.read()


class Install(unittest.TestCase):
    def test_install_tree_and_debian_package(self):
        with tempfile.TemporaryDirectory() as tmp:
            prefix = os.path.join(tmp, "usr")
            share = os.path.join(prefix, "share")
            run("cmake", "--install", BUILD, "--prefix", prefix)
            self.assertIn("kelvo 0.02", run(os.path.join(prefix, "bin/kelvo"), "--version"))
            # The workbook reader the program starts, where it looks for it, answering alone.
            reader = os.path.join(prefix, "lib/kelvo/kelvo-read-workbook")
            self.assertIn(b"given no file", subprocess.run([reader], input=b"", capture_output=True,
                                                           timeout=60).stdout)
            entry = os.path.join(share, f"applications/{ID}.desktop")
            run("desktop-file-validate", entry)
            text = read(entry)
            self.assertIn("Exec=kelvo %F", text)
            self.assertIn("application/x-kelvo-scale;", text)
            run("appstreamcli", "validate", "--no-net", "--pedantic",
                os.path.join(share, f"metainfo/{ID}.metainfo.xml"))
            run("update-mime-database", os.path.join(share, "mime"))
            self.assertIn("application/x-kelvo-scale:*.kvo",
                          read(os.path.join(share, "mime/globs2")))
            icons = os.path.join(share, "icons/hicolor")
            self.assertTrue(os.path.exists(os.path.join(icons, "scalable/apps/kelvo.svg")))
            for size in (48, 256):
                with Image.open(os.path.join(icons, f"{size}x{size}/apps/kelvo.png")) as png:
                    self.assertEqual(png.size, (size, size))

            run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                "-B", tmp)
            (deb,) = glob.glob(os.path.join(tmp, "kelvo_*.deb"))
            depends = run("dpkg-deb", "-f", deb, "Depends")
            for package in ("libqt6widgets6", "libqt6gui6", "qt6-qpa-plugins"):
                self.assertIn(package, depends)
            files = run("dpkg-deb", "-c", deb)
            for path in ("usr/bin/kelvo", "usr/lib/kelvo/kelvo-read-workbook",
                         "usr/share/man/man1/kelvo.1.gz",
                         "usr/share/doc/kelvo/copyright", "usr/share/doc/kelvo/changelog.Debian.gz"):
                self.assertIn("./" + path, files)
            # Manual page, copyright, changelog, description, hardening: all
            # are lintian's to judge. Infos may stay.
            report = run("lintian", "--pedantic", "--fail-on", "error,warning", deb)
            self.assertNotRegex(report, r"(?m)^[EW]: ", report)


if __name__ == "__main__":
    run_tests()
