"""A Wine prefix of a test's own, with the launcher installed in it."""
import os
import shutil
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
HERE = os.path.dirname(os.path.abspath(__file__))
WINE_PREFIX_SCRIPT = os.path.join(HERE, "..", "wine-prefix")
COMPONENTS = ("7z.dll", "Updater.exe", "Vextal.exe")


class Prefix:
    def __init__(self, build_dir):
        self.build_dir = build_dir
        self.dir = tempfile.mkdtemp(prefix="orvane-e2e.")
        subprocess.run([WINE_PREFIX_SCRIPT, "clone", self.dir], check=True, stdout=subprocess.DEVNULL)
        out = subprocess.run([WINE_PREFIX_SCRIPT, "env", self.dir], check=True, capture_output=True, text=True)
        self.env = dict(os.environ)
        for line in out.stdout.splitlines():
            key, _, value = line.partition("=")
            self.env[key] = value
        self.log = open(os.path.join(self.dir, "wine.log"), "ab")

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env, stderr=subprocess.DEVNULL)
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)

    # Paths: Windows paths on drive C: of the prefix, and the same as Unix paths.
    def unix(self, windows_path):
        assert windows_path[:3].upper() == "C:\\", windows_path
        return os.path.join(self.dir, "prefix", "drive_c", *windows_path[3:].split("\\"))

    @property
    def desktop(self):
        return self.unix("C:\\users\\%s\\Desktop" % os.environ.get("USER", "root"))

    def start(self, args, cwd=None):
        """Starts a Windows program (Windows path or Unix path) without waiting."""
        return subprocess.Popen([WINE] + list(args), env=self.env, cwd=cwd,
                                stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)

    def run(self, args, cwd=None, timeout=120):
        return self.start(args, cwd).wait(timeout=timeout)

    def reg_add(self, key, name, kind, data):
        rc = self.run(["reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"])
        assert rc == 0, "reg add failed"

    def install_launcher(self, folder, components=COMPONENTS):
        """Puts the launcher and the named stand-in components into a folder
        on drive C: (or, given a Unix path, into that folder)."""
        unix = folder if folder.startswith("/") else self.unix(folder)
        os.makedirs(unix, exist_ok=True)
        shutil.copy(os.path.join(self.build_dir, "OrvaneLauncher.exe"), unix)
        for name in components:
            shutil.copy(os.path.join(self.build_dir, "stand-ins", name), unix)
        return unix

    def run_launcher(self, folder, name="OrvaneLauncher.exe", timeout=120):
        return self.run([folder + "\\" + name], cwd=self.unix(folder), timeout=timeout)

    def helper(self, *args):
        return self.start([os.path.join(self.build_dir, "tests", "windows", "e2e_helper.exe")] + list(args))


def read_records(path):
    """The starts recorded by a stand-in: a list of (command line, working folder)."""
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    starts = []
    for cmd, cwd in zip(lines[0::2], lines[1::2]):
        starts.append((cmd[len("cmd="):], cwd[len("cwd="):]))
    return starts


def wait_for(predicate, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return predicate()


def read_box(path):
    with open(path, encoding="utf-8") as f:
        return f.read().splitlines()
