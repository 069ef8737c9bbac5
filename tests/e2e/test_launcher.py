"""The whole launcher, started as a user would, in a Wine prefix of its own."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winenv  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "server"))
import test_server  # noqa: E402

BUILD_DIR = os.environ.get("LAUNCHER_BUILD_DIR", "")
FOLDERS = ("C:\\Games\\Orvane", "C:\\My Games\\奥瓦恩 在线")
NDP = "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\NET Framework Setup\\NDP\\v4\\"


class LauncherTest(unittest.TestCase):
    def setUp(self):
        self.prefix = winenv.Prefix(BUILD_DIR)
        self.addCleanup(self.prefix.close)

    def set_dotnet(self, profile, version):
        self.prefix.reg_add(NDP + profile, "Install", "REG_DWORD", "1")
        self.prefix.reg_add(NDP + profile, "Version", "REG_SZ", version)

    def updater_starts(self, folder, count=1):
        path = os.path.join(self.prefix.unix(folder), "Updater.record")
        return winenv.wait_for(lambda: len(winenv.read_records(path)) >= count and winenv.read_records(path))

    def installer_starts(self, folder):
        return winenv.read_records(os.path.join(self.prefix.unix(folder), "Vextal.record"))


class HandOver(LauncherTest):
    def start_with_dotnet(self, folder, profile, version):
        """One start, the .NET keys as given (none when version is None), the
        records of earlier starts gone."""
        self.prefix.run(["reg", "delete", NDP.rstrip("\\"), "/f"])
        if version:
            self.set_dotnet(profile, version)
        unix = self.prefix.install_launcher(folder)
        for name in ("Updater.record", "Vextal.record"):
            if os.path.exists(os.path.join(unix, name)):
                os.remove(os.path.join(unix, name))
        self.assertEqual(0, self.prefix.run_launcher(folder))
        return self.updater_starts(folder)

    def test_dotnet_present_starts_the_updater_directly(self):
        for profile in ("Full", "Client"):
            for folder in FOLDERS:
                with self.subTest(profile=profile, folder=folder):
                    starts = self.start_with_dotnet(folder, profile, "4.0.30319")
                    self.assertEqual([('"%s\\Updater.exe"' % folder, folder)], starts)
                    time.sleep(0.5)
                    self.assertEqual([], self.installer_starts(folder))

    def test_dotnet_absent_or_too_old_goes_through_the_runtime_installer(self):
        for version in (None, "4.0.30318"):
            for folder in FOLDERS:
                with self.subTest(version=version, folder=folder):
                    starts = self.start_with_dotnet(folder, "Full", version)
                    self.assertEqual(
                        [('"%s\\Vextal.exe" "%s\\Updater.exe"' % (folder, folder), folder)],
                        self.installer_starts(folder))
                    # The runtime installer hands the quoted updater path on.
                    self.assertEqual('"%s\\Updater.exe"' % folder, starts[0][0])


class Housekeeping(LauncherTest):
    def read_shortcut(self):
        lnk = "C:\\users\\%s\\Desktop\\OrvaneLauncher.lnk" % os.environ.get("USER", "root")
        out = os.path.join(self.prefix.dir, "shortcut.txt")
        self.assertEqual(0, self.prefix.helper("read-shortcut", lnk, out).wait(timeout=60))
        return winenv.read_box(out)

    def test_running_updater_is_stopped_before_staged_files_are_applied(self):
        folder = FOLDERS[0]
        self.set_dotnet("Full", "4.0.30319")
        unix = self.prefix.install_launcher(folder)
        # A running updater holds Updater.lock without sharing; an update of it is staged.
        running = self.prefix.start([folder + "\\Updater.exe", "--stay"], cwd=unix)
        lock = os.path.join(unix, "Updater.lock")
        self.assertTrue(winenv.wait_for(lambda: os.path.exists(lock)))
        os.makedirs(os.path.join(unix, "temp"))
        with open(os.path.join(unix, "temp", "Updater.lock"), "w") as f:
            f.write("staged")
        with open(os.path.join(unix, "temp", "data.pak"), "w") as f:
            f.write("staged data")

        self.assertEqual(0, self.prefix.run_launcher(folder))
        self.assertEqual(0, running.wait(timeout=30), "the running updater was terminated with code 0")
        with open(lock) as f:
            self.assertEqual("staged", f.read())
        with open(os.path.join(unix, "data.pak")) as f:
            self.assertEqual("staged data", f.read())
        self.assertFalse(os.path.exists(os.path.join(unix, "temp")))
        starts = self.updater_starts(folder, count=2)
        self.assertEqual('"%s\\Updater.exe"' % folder, starts[1][0])

    def test_shortcut_follows_the_launcher_when_it_moves(self):
        self.set_dotnet("Full", "4.0.30319")
        first, moved = FOLDERS
        self.prefix.install_launcher(first)
        self.assertEqual(0, self.prefix.run_launcher(first))
        target, working, show, description, icon, index = self.read_shortcut()[:6]
        self.assertEqual(first + "\\OrvaneLauncher.exe", target)
        self.assertEqual(first, working)
        self.assertEqual(("1", "OrvaneLauncher Agent", target, "0"), (show, description, icon, index))

        self.prefix.install_launcher(moved)
        self.assertEqual(0, self.prefix.run_launcher(moved))
        target, working = self.read_shortcut()[:2]
        self.assertEqual(moved + "\\OrvaneLauncher.exe", target)
        self.assertEqual(moved, working)

    def test_install_folder_at_a_drive_root_leaves_temp_alone(self):
        self.set_dotnet("Full", "4.0.30319")
        root = os.path.join(self.prefix.dir, "xdrive")
        os.makedirs(os.path.join(root, "temp"))
        os.symlink(root, os.path.join(self.prefix.dir, "prefix", "dosdevices", "x:"))
        self.prefix.install_launcher(root)
        with open(os.path.join(root, "temp", "other-program.dat"), "w") as f:
            f.write("belongs to another program")

        self.assertEqual(0, self.prefix.run([r"X:\OrvaneLauncher.exe"], cwd=root))
        records = winenv.wait_for(lambda: winenv.read_records(os.path.join(root, "Updater.record")))
        self.assertEqual('"X:\\Updater.exe"', records[0][0])
        self.assertEqual(["other-program.dat"], os.listdir(os.path.join(root, "temp")))
        self.assertFalse(os.path.exists(os.path.join(root, "other-program.dat")))


class Acquisition(LauncherTest):
    def setUp(self):
        super().setUp()
        port = int(os.environ["LAUNCHER_DOWNLOAD_HOST"].rsplit(":", 1)[1])
        self.served = os.path.join(BUILD_DIR, "stand-ins")
        self.server = test_server.Server(port, self.served).start()
        self.addCleanup(self.server.stop)
        self.folder = FOLDERS[1]
        self.install = self.prefix.install_launcher(self.folder, components=())

    def served_bytes(self, name):
        with open(os.path.join(self.served, name), "rb") as f:
            return f.read()

    def installed_bytes(self, name):
        with open(os.path.join(self.install, name), "rb") as f:
            return f.read()

    def answer_box(self, button):
        out = os.path.join(self.prefix.dir, "box-%s.txt" % button)
        return self.prefix.helper("click-box", button, out, "60000"), out

    def test_first_start_downloads_every_missing_component_without_a_question(self):
        self.assertEqual(0, self.prefix.run_launcher(self.folder))
        for name in winenv.COMPONENTS:
            self.assertEqual(self.served_bytes(name), self.installed_bytes(name), name)
            self.assertEqual([("/downloader/" + name, "ZuveRI/1.0")], self.server.requested(name))
        self.assertEqual([n for n in os.listdir(self.install) if n.endswith(".tmp")], [])
        starts = self.updater_starts(self.folder)
        self.assertEqual('"%s\\Updater.exe"' % self.folder, starts[0][0])
        self.assertEqual('"%s\\Vextal.exe" "%s\\Updater.exe"' % (self.folder, self.folder),
                         self.installer_starts(self.folder)[0][0])

    def test_a_component_of_10239_bytes_is_fetched_again_and_one_of_10240_kept(self):
        self.set_dotnet("Full", "4.0.30319")
        with open(os.path.join(self.install, "7z.dll"), "wb") as f:
            f.write(b"k" * 10240)
        with open(os.path.join(self.install, "Updater.exe"), "wb") as f:
            f.write(b"s" * 10239)
        self.assertEqual(0, self.prefix.run_launcher(self.folder))
        self.assertEqual(b"k" * 10240, self.installed_bytes("7z.dll"))
        self.assertEqual([], self.server.requested("7z.dll"))
        self.assertEqual(self.served_bytes("Updater.exe"), self.installed_bytes("Updater.exe"))
        self.assertEqual([], self.server.requested("Vextal.exe"))
        self.assertTrue(self.updater_starts(self.folder))

    def test_a_folder_bearing_the_component_name_is_missing(self):
        self.set_dotnet("Full", "4.0.30319")
        os.makedirs(os.path.join(self.install, "7z.dll"))
        helper, box = self.answer_box("no")
        self.assertEqual(0, self.prefix.run_launcher(self.folder))
        self.assertEqual(0, helper.wait(timeout=60))
        self.assertEqual(1, len(self.server.requested("7z.dll")))
        self.assertTrue(os.path.isdir(os.path.join(self.install, "7z.dll")))
        self.assertEqual([], self.server.requested("Updater.exe"))

    def test_failed_download_then_yes_downloads_again_in_a_fresh_window(self):
        self.set_dotnet("Full", "4.0.30319")
        # The first answer stops half-way, so that its window's bar was half full;
        # the second waits before it answers, while the new window is sampled.
        self.server.plan("7z.dll", "cut", "late/2500")
        helper, box = self.answer_box("yes")
        launcher = self.prefix.start([self.folder + "\\OrvaneLauncher.exe"], cwd=self.install)
        self.assertEqual(0, helper.wait(timeout=90))
        pixels = os.path.join(self.prefix.dir, "bar.txt")
        sampler = self.prefix.helper("bar-pixels", pixels, "20000")
        self.assertEqual(0, sampler.wait(timeout=60))
        self.assertEqual(0, launcher.wait(timeout=120))

        caption, text, buttons, icon = winenv.read_box(box)[:4]
        self.assertEqual("运行下载失败", caption)
        self.assertEqual("运行环境下载失败，是否重新下载？", text)
        self.assertEqual(("buttons=yes,no", "icon"), (buttons, icon))
        bar_start, frame_middle = winenv.read_box(pixels)[0].split()
        self.assertEqual(("ffffff", "ffffff"), (bar_start, frame_middle), "the new bar starts empty")
        self.assertEqual(2, len(self.server.requested("7z.dll")))
        self.assertEqual(self.served_bytes("7z.dll"), self.installed_bytes("7z.dll"))
        self.assertTrue(self.updater_starts(self.folder))

    def test_declining_the_retry_ends_the_run(self):
        self.server.plan("7z.dll", "status404")
        helper, box = self.answer_box("no")
        self.assertEqual(0, self.prefix.run_launcher(self.folder))
        self.assertEqual(0, helper.wait(timeout=60))
        self.assertEqual("运行下载失败", winenv.read_box(box)[0])
        self.assertFalse(os.path.exists(os.path.join(self.install, "7z.dll")))
        self.assertEqual([], self.server.requested("Updater.exe"))
        time.sleep(0.5)
        self.assertEqual([], winenv.read_records(os.path.join(self.install, "Updater.record")))


class PathTooLong(LauncherTest):
    def test_a_launcher_path_beyond_260_characters_ends_the_run_with_a_message(self):
        folder = "C:\\Games\\" + "\\".join(["x" * 60] * 4)
        self.assertGreater(len(folder + "\\OrvaneLauncher.exe"), 260)
        unix = self.prefix.install_launcher(folder)
        box = os.path.join(self.prefix.dir, "box.txt")
        helper = self.prefix.helper("click-box", "ok", box)
        self.assertEqual(0, self.prefix.run_launcher(folder))
        self.assertEqual(0, helper.wait(timeout=60))
        caption, text = winenv.read_box(box)[:2]
        self.assertEqual("启动失败", caption)
        self.assertIn("路径过长", text)
        time.sleep(0.5)
        self.assertFalse(os.path.exists(os.path.join(unix, "Updater.record")))
        self.assertEqual([], os.listdir(self.prefix.desktop))


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    unittest.main(verbosity=2)
