"""The demo's run: a fresh prefix, an install folder holding only the launcher,
the demo download server serving the stand-ins, a first start of the launcher,
then a second start with an updater still running and a file staged, and a
report of what happened."""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import winenv  # noqa: E402

FOLDER = "C:\\Games\\Orvane"


def section(title):
    print("\n== %s" % title)


def take_screenshot(server_log, path):
    """Saves the progress window in the middle of the first download."""
    def first_request():
        with open(server_log) as f:
            return "GET" in f.read()
    if not winenv.wait_for(first_request, timeout=60):
        return None
    time.sleep(0.8)
    screen = path + ".screen.png"
    rc = subprocess.run(["import", "-window", "root", screen], stderr=subprocess.DEVNULL).returncode
    if rc != 0:
        return None
    # The window stands at 400, 300 and is 400 x 150.
    subprocess.run(["convert", screen, "-crop", "420x170+390+290", "+repage", path], check=True)
    os.remove(screen)
    return os.path.abspath(path)


def report_components(install):
    print("components in the install folder:")
    for name in winenv.COMPONENTS:
        path = os.path.join(install, name)
        print("  %-12s %s" % (name, "%d bytes" % os.path.getsize(path) if os.path.exists(path) else "missing"))


def report_shortcut(prefix):
    lnk = "C:\\users\\%s\\Desktop\\OrvaneLauncher.lnk" % os.environ.get("USER", "root")
    out = os.path.join(prefix.dir, "shortcut.txt")
    if prefix.helper("read-shortcut", lnk, out).wait(timeout=60) != 0:
        print("desktop shortcut: none")
        return
    target, working, show, description, icon, index = winenv.read_box(out)[:6]
    print("desktop shortcut %s -> %s (working folder %s, description \"%s\", icon %s,%s)"
          % (lnk, target, working, description, icon, index))


def report_hand_over(install, updater_count):
    updater = os.path.join(install, "Updater.record")
    starts = winenv.wait_for(lambda: len(winenv.read_records(updater)) >= updater_count
                             and winenv.read_records(updater), timeout=20) or []
    installer = winenv.read_records(os.path.join(install, "Vextal.record"))
    print(".NET Framework 4: %s" % ("not installed (runtime installer used)" if installer
                                    else "installed (updater started directly)"))
    if installer:
        print("runtime installer received: %s" % installer[-1][0])
    if len(starts) >= updater_count:
        print("updater received:           %s  (working folder %s)" % starts[-1])
    hand_over = installer[-1][0] if installer else starts[-1][0] if starts else None
    print("hand-over command line: %s" % (hand_over or "none: nothing was started"))
    return hand_over


def main():
    build_dir, host = sys.argv[1], sys.argv[2]
    prefix = winenv.Prefix(build_dir)
    server = None
    try:
        install = prefix.install_launcher(FOLDER, components=())
        served = os.path.join(build_dir, "stand-ins")
        server_log = os.path.join(prefix.dir, "server.log")
        # Slowed to about 64 KB/s, so that each download takes a couple of
        # seconds and the progress window can be seen.
        server = subprocess.Popen(
            [sys.executable, os.path.join(HERE, "..", "stand-ins", "download_server.py"),
             "--root", served, "--port", host.rsplit(":", 1)[1], "--rate", "65536"],
            stdout=open(server_log, "w"), stderr=subprocess.STDOUT)
        time.sleep(0.5)

        section("first start")
        print("install folder %s holds: %s" % (FOLDER, ", ".join(sorted(os.listdir(install)))))
        print("download server http://%s/downloader/ serves the stand-ins of %s" % (host, served))
        print("no .NET Framework 4 setup keys are in this prefix")
        launcher = prefix.start([FOLDER + "\\OrvaneLauncher.exe"], cwd=install)
        screenshot = take_screenshot(server_log, os.path.join(build_dir, "progress-window.png"))
        rc = launcher.wait(timeout=300)
        print("launcher exit code: %d" % rc)
        print("screenshot of the progress window during the first download: %s" % (screenshot or "none taken"))
        report_components(install)
        with open(server_log) as f:
            requests = [line.strip() for line in f if "GET" in line]
        print("downloaded: %s" % ("; ".join(requests) if requests else "nothing"))
        report_shortcut(prefix)
        first = report_hand_over(install, 1)

        section("second start, with an updater still running and a file staged")
        running = prefix.start([FOLDER + "\\Updater.exe", "--stay"], cwd=install)
        winenv.wait_for(lambda: os.path.exists(os.path.join(install, "Updater.lock")))
        os.makedirs(os.path.join(install, "temp"), exist_ok=True)
        with open(os.path.join(install, "temp", "patch.dat"), "w") as f:
            f.write("patch staged by the updater\n")
        print("running: %s\\Updater.exe --stay; staged: temp\\patch.dat" % FOLDER)
        rc = prefix.run_launcher(FOLDER)
        print("launcher exit code: %d" % rc)
        try:
            print("the running updater ended with code %d" % running.wait(timeout=20))
        except subprocess.TimeoutExpired:
            print("the running updater is still running")
        patch = os.path.join(install, "patch.dat")
        print("patch.dat in the install folder: %s" % ("yes" if os.path.exists(patch) else "no"))
        print("staging folder temp: %s" % ("still there" if os.path.exists(os.path.join(install, "temp"))
                                           else "deleted"))
        report_hand_over(install, 3)

        print("\nhand-over command line of the first start: %s" % (first or "none"))
        return 0 if first else 1
    finally:
        if server:
            server.terminate()
        prefix.close()


if __name__ == "__main__":
    sys.exit(main())
