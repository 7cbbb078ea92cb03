"""The desktop menu's launcher starts the console in the user's state
directory ($XDG_STATE_HOME/r40-console, by default
~/.local/state/r40-console), made private on first use, so that its
lastused.xml never lands where the desktop happened to start it; and it
refuses to start the console where it cannot make that directory.

Runs the real console (offscreen) through the launcher of the build tree.
Usage: launcher_test.py LAUNCHER R40CONSOLE"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time
import unittest

LAUNCHER, CONSOLE = (os.path.abspath(p) for p in sys.argv[1:3])
# A network namespace of its own where one can be made: the console hears no
# receivers there.
ISOLATE = ["unshare", "-n"] if subprocess.run(["unshare", "-n", "true"],
                                              capture_output=True).returncode == 0 else []


class Launcher(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="r40-launcher-")
        self.home = os.path.join(self.scratch, "home")
        os.mkdir(self.home)
        self.desktop_dir = os.path.join(self.scratch, "desktop-cwd")
        os.mkdir(self.desktop_dir)

    def tearDown(self):
        shutil.rmtree(self.scratch)

    def start(self, **env):
        environment = {k: v for k, v in os.environ.items() if k != "XDG_STATE_HOME"}
        environment.update(HOME=self.home, QT_QPA_PLATFORM="offscreen")
        environment.update(env)
        return subprocess.Popen(ISOLATE + [LAUNCHER], cwd=self.desktop_dir, env=environment,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def console_directory(self, **env):
        """Where the console that the launcher started runs."""
        process = self.start(**env)
        try:
            # The launcher execs the console: one process, once it has.
            deadline = time.monotonic() + 20
            while time.monotonic() < deadline and process.poll() is None:
                try:
                    if os.path.realpath("/proc/%d/exe" % process.pid) == os.path.realpath(CONSOLE):
                        return os.readlink("/proc/%d/cwd" % process.pid)
                except OSError:
                    pass
                time.sleep(0.05)
            self.fail("the console did not start: %r" % process.communicate(timeout=5)[0])
        finally:
            if process.poll() is None:
                process.terminate()
                process.wait(timeout=10)
            process.stdout.close()

    def assertPrivateDirectory(self, path):
        self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o700, path)

    def test_default_state_directory_is_made(self):
        directory = self.console_directory()
        expected = os.path.join(self.home, ".local", "state", "r40-console")
        self.assertEqual(directory, expected)
        self.assertPrivateDirectory(expected)
        self.assertPrivateDirectory(os.path.dirname(expected))
        self.assertEqual(os.listdir(self.desktop_dir), [])

    def test_xdg_state_home_is_followed(self):
        state = os.path.join(self.scratch, "state")
        self.assertEqual(self.console_directory(XDG_STATE_HOME=state),
                         os.path.join(state, "r40-console"))
        self.assertFalse(os.path.exists(os.path.join(self.home, ".local")))

    def test_existing_directory_and_last_used_file_are_kept(self):
        directory = os.path.join(self.scratch, "state", "r40-console")
        os.makedirs(directory, mode=0o750)
        last_used = os.path.join(directory, "lastused.xml")
        with open(last_used, "w", encoding="utf-8") as f:
            f.write("<R40/>\n")
        self.assertEqual(self.console_directory(XDG_STATE_HOME=os.path.dirname(directory)),
                         directory)
        with open(last_used, encoding="utf-8") as f:
            self.assertEqual(f.read(), "<R40/>\n")
        self.assertEqual(stat.S_IMODE(os.stat(directory).st_mode), 0o750)

    def test_relative_or_empty_xdg_state_home_means_the_default(self):
        expected = os.path.join(self.home, ".local", "state", "r40-console")
        for value in ("relative/state", ""):
            self.assertEqual(self.console_directory(XDG_STATE_HOME=value), expected, repr(value))
        self.assertFalse(os.path.exists(os.path.join(self.desktop_dir, "relative")))

    def test_no_console_where_the_directory_cannot_be_made(self):
        blocker = os.path.join(self.scratch, "a-file")
        with open(blocker, "w", encoding="utf-8"):
            pass
        process = self.start(XDG_STATE_HOME=blocker)
        output = process.communicate(timeout=20)[0].decode()
        self.assertEqual(process.returncode, 1, output)
        self.assertIn("cannot use %s/r40-console" % blocker, output)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
