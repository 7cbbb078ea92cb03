"""The manual pages: each formats without a groff warning, devicelib(3)
names every entry point and result code of the C interface with the
header's values, and the programs' pages name every option their --help
offers.

Usage: man_pages_test.py SOURCE_DIR R40_RECEIVER_SIM R40_DISCOVER R40_SNMP_AGENT"""
import os
import re
import subprocess
import sys
import unittest

SOURCE, SIM, DISCOVER, AGENT = sys.argv[1:5]
PAGES = ["console/r40console.1", "tools/r40ctl/r40ctl.1", "tools/r40-discover.1",
         "sim/r40-receiver-sim.1", "devicelib/devicelib.3", "tools/snmp/r40-snmp-agent.8"]


def read(relative):
    with open(os.path.join(SOURCE, relative), encoding="utf-8") as f:
        return f.read()


def roff(option):
    # Written as \-\-option, every hyphen escaped.
    return option.replace("-", "\\-")


def options_of(program):
    """The options a program's --help names, and --help itself."""
    out = subprocess.run([program, "--help"], check=True, capture_output=True, text=True).stdout
    return sorted(set(re.findall(r"(?<![\w-])(--?[a-z][a-z-]*)", out)) | {"--help"})


class ManPages(unittest.TestCase):
    def test_every_page_formats_without_warnings(self):
        for page in PAGES:
            result = subprocess.run(["groff", "-man", "-t", "-ww", "-z", os.path.join(SOURCE, page)],
                                    capture_output=True, text=True,
                                    env=dict(os.environ, LC_ALL="C.UTF-8"))
            self.assertEqual((result.returncode, result.stderr + result.stdout), (0, ""), page)

    def test_devicelib_page_names_every_entry_point(self):
        page = read("devicelib/devicelib.3")
        names = re.findall(r"^\s+(\w+);$", read("devicelib/devicelib.map"), re.M)
        self.assertIn("OpenDevice", names)
        for name in names:
            if name == "STATUS_PORTS":
                self.assertTrue(".B STATUS_PORTS\n" in page, "STATUS_PORTS is not described")
                continue
            self.assertTrue(re.search(r"\b%s\(" % name, page), name + " is not in the synopsis")
            self.assertTrue(".BR %s ()\n" % name in page, name + " is not described")

    def test_devicelib_page_gives_every_result_code_its_value(self):
        page = read("devicelib/devicelib.3")
        codes = re.findall(r"^#define ((?:RC|ERR)_\w+) \(?(-?\w+)\)?", read("devicelib/devicelib.h"),
                           re.M)
        self.assertGreater(len(codes), 30)
        for name, value in codes:
            shown = value.replace("-", "\\-")
            self.assertTrue(
                '.BR %s " (%s)"' % (name, shown) in page or
                re.search(r"\b%s\b\W+\(%s\)" % (name, re.escape(shown)), page),
                "%s (%s) is not in devicelib.3" % (name, value))

    def test_program_pages_name_every_option(self):
        for program, page in ((SIM, "sim/r40-receiver-sim.1"), (DISCOVER, "tools/r40-discover.1"),
                              (AGENT, "tools/snmp/r40-snmp-agent.8")):
            text = read(page)
            options = options_of(program)
            for option in options:
                # The whole option: --loss is not found in --status-loss or --lossy.
                whole = r"(?<!\\-)%s(?![a-z]|\\-)" % re.escape(roff(option))
                self.assertTrue(re.search(whole, text),
                                "%s: %s is not in %s" % (program, option, page))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
