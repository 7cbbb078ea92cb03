"""`cmake --install` puts everything in its FHS place under any prefix, and
the files that name paths name the prefix, not the build tree or a staging
directory (DESTDIR, as the package is made).

Usage: install_test.py CMAKE BUILD_DIR SOURCE_DIR LIBDIR (CMAKE_INSTALL_LIBDIR)"""
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

CMAKE, BUILD, SOURCE, LIBDIR = sys.argv[1:5]


def install(prefix, destdir=None):
    env = dict(os.environ)
    if destdir:
        env["DESTDIR"] = destdir
    result = subprocess.run([CMAKE, "--install", BUILD, "--prefix", prefix], env=env,
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError("cmake --install failed:\n" + result.stdout + result.stderr)


def keys(path):
    """key=value lines of a .pc or .desktop file."""
    with open(path, encoding="utf-8") as f:
        return dict(line.rstrip("\n").split("=", 1) for line in f if re.match(r"^[\w-]+=", line))


class Install(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="r40-install-")

    def tearDown(self):
        shutil.rmtree(self.scratch)

    def test_every_file_in_its_place(self):
        prefix = os.path.join(self.scratch, "usr")
        install(prefix)
        at = lambda *parts: os.path.join(prefix, *parts)
        for program in ("r40console", "r40ctl", "r40-discover", "r40-receiver-sim",
                        "r40-snmp-agent"):
            self.assertTrue(os.access(at("bin", program), os.X_OK), program)
        # The real file, the SONAME link the loader looks for, the link -l uses.
        lib = at(LIBDIR, "libdevicelib.so")
        self.assertEqual(os.readlink(lib), "libdevicelib.so.1")
        self.assertRegex(os.readlink(at(LIBDIR, "libdevicelib.so.1")), r"^libdevicelib\.so\.1\.")
        dynamic = subprocess.run(["readelf", "-d", lib], check=True, capture_output=True,
                                 text=True).stdout
        self.assertIn("Library soname: [libdevicelib.so.1]", dynamic)
        self.assertNotIn(BUILD, dynamic, "a RUNPATH into the build tree was installed")
        with open(at("include", "devicelib", "devicelib.h"), encoding="utf-8") as f, \
                open(os.path.join(SOURCE, "devicelib", "devicelib.h"), encoding="utf-8") as g:
            self.assertEqual(f.read(), g.read())
        for page in ("man1/r40console.1", "man1/r40ctl.1", "man1/r40-discover.1",
                     "man1/r40-receiver-sim.1", "man3/devicelib.3", "man3/OpenDevice.3",
                     "man8/r40-snmp-agent.8"):
            with gzip.open(at("share", "man", page + ".gz"), "rt", encoding="utf-8") as f:
                self.assertTrue(f.read().startswith((".TH", "'\\\" t\n.TH")), page)
        for size in (48, 128, 256):
            self.assertTrue(os.path.isfile(
                at("share", "icons", "hicolor", "%dx%d" % (size, size), "apps", "r40-console.png")))
        self.assertTrue(os.path.isfile(at("share", "metainfo", "com.example.r40console.metainfo.xml")))
        # The agent's MIB where net-snmp looks; its unit starts the installed program.
        with open(at("share", "snmp", "mibs", "R40-RECEIVER-MIB.txt"), encoding="utf-8") as f, \
                open(os.path.join(SOURCE, "tools", "snmp", "R40-RECEIVER-MIB.txt"),
                     encoding="utf-8") as g:
            self.assertEqual(f.read(), g.read())
        with open(at("lib", "systemd", "system", "r40-snmp-agent.service"), encoding="utf-8") as f:
            unit = f.read()
        self.assertIn("\nExecStart=/usr/bin/r40-snmp-agent\n", unit)
        self.assertIn("\nWantedBy=multi-user.target\n", unit)

    def test_paths_written_for_the_prefix(self):
        prefix = os.path.join(self.scratch, "opt", "r40")
        install(prefix)
        pc = keys(os.path.join(prefix, LIBDIR, "pkgconfig", "devicelib.pc"))
        self.assertEqual(pc["prefix"], prefix)
        self.assertTrue(os.path.isfile(os.path.join(pc["libdir"], "libdevicelib.so")))
        self.assertTrue(os.path.isfile(os.path.join(pc["includedir"], "devicelib", "devicelib.h")))
        desktop = keys(os.path.join(prefix, "share", "applications", "r40-console.desktop"))
        launcher = desktop["Exec"]
        self.assertTrue(launcher.startswith(prefix + "/"), launcher)
        self.assertTrue(os.access(launcher, os.X_OK), launcher)
        # The launcher reaches the console of the same installation.
        with open(launcher, encoding="utf-8") as f:
            relative = re.search(r'"\$here/([^"]*)/r40console"', f.read()).group(1)
        self.assertEqual(os.path.realpath(os.path.join(os.path.dirname(launcher), relative)),
                         os.path.join(prefix, "bin"))

    def test_staged_install_names_the_final_prefix(self):
        # As the package is made: staged under DESTDIR, for /usr.
        stage = os.path.join(self.scratch, "stage")
        install("/usr", destdir=stage)
        pc = keys(os.path.join(stage, "usr", LIBDIR, "pkgconfig", "devicelib.pc"))
        self.assertEqual((pc["prefix"], pc["includedir"]), ("/usr", "/usr/include"))
        self.assertEqual(pc["libdir"], "/usr/" + LIBDIR)
        desktop = keys(os.path.join(stage, "usr", "share", "applications", "r40-console.desktop"))
        self.assertEqual(desktop["Exec"], "/usr/libexec/r40-console/r40console-launcher")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
