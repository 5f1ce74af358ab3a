# SPDX-License-Identifier: MIT
"""Every option the usage lists is described in the manual page."""

import os
import re
import subprocess
import sys
import unittest

MAN_PAGE = os.path.join(os.path.dirname(__file__), "..", "data", "kelvo.1.in")


class ManPage(unittest.TestCase):
    def test_every_option_of_the_usage_is_in_the_manual_page(self):
        usage = subprocess.run([BINARY, "--help"], capture_output=True, text=True, check=True).stdout
        options = re.findall(r"(?<![\w-])--?[a-z][\w-]*", usage.split("Arguments:")[0])
        self.assertGreaterEqual(len(options), 5, usage)
        with open(MAN_PAGE, encoding="utf-8") as page:
            roff = page.read()
        for option in options:
            self.assertIn(option.replace("-", "\\-"), roff, option)


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
