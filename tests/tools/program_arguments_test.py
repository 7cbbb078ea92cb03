"""The programs beside r40ctl answer --help and --version and refuse any
other option with a short usage line on standard error and exit status 2,
never starting their real work.

Usage: program_arguments_test.py R40_RECEIVER_SIM R40_DISCOVER R40CONSOLE VERSION R40_SNMP_AGENT"""
import os
import subprocess
import sys
import tempfile
import unittest

SIM, DISCOVER, CONSOLE, VERSION, AGENT = sys.argv[1:6]


def run(program, *args):
    # The console refuses an argument only once Qt has taken its own, which
    # needs a platform (offscreen needs no display) and a runtime directory
    # of its own, or Qt says so on stderr first.
    with tempfile.TemporaryDirectory() as runtime:
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
        return subprocess.run([program, *args], capture_output=True, text=True, timeout=30,
                              env=env, stdin=subprocess.DEVNULL)


class ProgramArguments(unittest.TestCase):
    PROGRAMS = ((SIM, "r40-receiver-sim"), (DISCOVER, "r40-discover"),
                (CONSOLE, "r40console"), (AGENT, "r40-snmp-agent"))

    def test_help_and_version(self):
        for path, name in self.PROGRAMS:
            with self.subTest(program=name):
                shown = run(path, "--help")
                self.assertEqual(shown.returncode, 0, shown.stderr)
                self.assertIn("sage: %s" % name, shown.stdout)
                version = run(path, "--version")
                self.assertEqual(version.returncode, 0, version.stderr)
                self.assertEqual(version.stdout, "%s %s\n" % (name, VERSION))

    def test_unknown_options_are_refused_with_a_short_usage_line(self):
        for path, name in self.PROGRAMS:
            for args in (["--frobnicate"], ["--helpx"], ["stray"]):
                with self.subTest(program=name, args=args):
                    refused = run(path, *args)
                    self.assertEqual(refused.returncode, 2, refused.stdout + refused.stderr)
                    self.assertEqual(refused.stdout, "")
                    lines = refused.stderr.splitlines()
                    self.assertLessEqual(len(lines), 2, refused.stderr)
                    self.assertTrue(lines and lines[0].startswith(name + ": "), refused.stderr)
                    self.assertTrue(lines[-1].startswith("usage: " + name), refused.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
