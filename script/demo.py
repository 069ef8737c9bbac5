"""The demo's run: a fresh prefix, an install folder holding only the launcher,
the demo download server serving the stand-ins, one start of the launcher, and
a report of what happened."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import winenv  # noqa: E402

FOLDER = "C:\\Games\\Orvane"


def main():
    build_dir, host = sys.argv[1], sys.argv[2]
    prefix = winenv.Prefix(build_dir)
    server = None
    try:
        install = prefix.install_launcher(FOLDER, components=())
        served = os.path.join(build_dir, "stand-ins")
        server_log = os.path.join(prefix.dir, "server.log")
        server = subprocess.Popen(
            [sys.executable, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "stand-ins",
                                          "download_server.py"),
             "--root", served, "--port", host.rsplit(":", 1)[1]],
            stdout=open(server_log, "w"), stderr=subprocess.STDOUT)
        time.sleep(0.5)

        print("install folder %s holds: %s" % (FOLDER, ", ".join(sorted(os.listdir(install)))))
        print("download server http://%s/downloader/ serves the stand-ins of %s" % (host, served))
        print("no .NET Framework 4 setup keys are in this prefix")

        # The launcher cannot download yet: the demo places the components itself.
        import shutil
        for name in winenv.COMPONENTS:
            shutil.copy(os.path.join(served, name), install)
        print("NOTE: downloading is not built yet; the demo placed %s itself" % ", ".join(winenv.COMPONENTS))

        print("\nstarting %s\\OrvaneLauncher.exe ..." % FOLDER)
        rc = prefix.run_launcher(FOLDER)
        print("launcher exit code: %d" % rc)

        updater = os.path.join(install, "Updater.record")
        starts = winenv.wait_for(lambda: winenv.read_records(updater), timeout=20)
        installer = winenv.read_records(os.path.join(install, "Vextal.record"))

        print("\ncomponents in the install folder:")
        for name in winenv.COMPONENTS:
            path = os.path.join(install, name)
            print("  %-12s %s" % (name, "%d bytes" % os.path.getsize(path) if os.path.exists(path) else "missing"))
        with open(server_log) as f:
            requests = [line.strip() for line in f if "GET" in line]
        print("downloaded: %s" % ("; ".join(requests) if requests else "nothing"))
        print(".NET Framework 4: %s" % ("not installed (runtime installer used)" if installer
                                        else "installed (updater started directly)"))
        if installer:
            print("runtime installer received: %s" % installer[0][0])
        if starts:
            print("updater received:           %s  (working folder %s)" % starts[0])
        hand_over = installer[0][0] if installer else starts[0][0] if starts else None
        print("\nhand-over command line: %s" % (hand_over or "none: nothing was started"))
        return 0 if hand_over else 1
    finally:
        if server:
            server.terminate()
        prefix.close()


if __name__ == "__main__":
    sys.exit(main())
