"""The benchmark's run; see bench/run."""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import winenv  # noqa: E402

SIZE = 128 * 1024 * 1024
SLOW_SIZE = 1024 * 1024
SLOW_RATE = 100 * 1024  # bytes a second: about ten seconds for SLOW_SIZE
RUNS = 3
FOLDER = "C:\\Games\\Orvane"
NDP = "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full"

NGINX_CONF = """
daemon off;
worker_processes 1;
pid {dir}/nginx.pid;
error_log {dir}/error.log;
events {{ worker_connections 64; }}
http {{
    access_log {dir}/access.log;
    sendfile on;
    server {{
        listen 127.0.0.1:{fast};
        location /downloader/ {{ alias {dir}/fast/; }}
    }}
    server {{
        listen 127.0.0.1:{slow};
        location /downloader/ {{ alias {dir}/slow/; limit_rate {rate}; }}
    }}
}}
"""


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(command, **kwargs):
    """Wall and processor seconds of one command (its waited-for processes).
    A launcher that fails to download waits at its retry prompt: give up then."""
    cpu = children_cpu()
    start = time.monotonic()
    rc = subprocess.run(command, timeout=300, **kwargs).returncode
    return rc, time.monotonic() - start, children_cpu() - cpu


class Launcher:
    """A prefix with the launcher installed and .NET Framework 4 present, so that
    only 7z.dll is ever missing and the updater starts directly."""

    def __init__(self, build_dir):
        self.prefix = winenv.Prefix(build_dir)
        self.install = self.prefix.install_launcher(FOLDER, components=("Updater.exe", "Vextal.exe"))
        self.prefix.reg_add(NDP, "Install", "REG_DWORD", "1")
        self.prefix.reg_add(NDP, "Version", "REG_SZ", "4.0.30319")
        self.run_once()  # Wine's own services are up before anything is measured

    def run_once(self, remove=True):
        if remove and os.path.exists(os.path.join(self.install, "7z.dll")):
            os.remove(os.path.join(self.install, "7z.dll"))
        return timed([winenv.WINE, FOLDER + "\\OrvaneLauncher.exe"], env=self.prefix.env, cwd=self.install,
                     stdout=self.prefix.log, stderr=self.prefix.log)

    def close(self):
        self.prefix.close()


def main():
    fast, slow = int(sys.argv[1]), int(sys.argv[2])
    root = os.path.join(HERE, "..", "build")
    work = tempfile.mkdtemp(prefix="orvane-bench.")
    os.chmod(work, 0o755)  # nginx's workers read it as another user
    nginx = None
    launchers = []
    try:
        for name in ("fast", "slow"):
            os.makedirs(os.path.join(work, name))
        with open(os.path.join(work, "fast", "7z.dll"), "wb") as f:
            f.write(os.urandom(SIZE))
        with open(os.path.join(work, "slow", "7z.dll"), "wb") as f:
            f.write(os.urandom(SLOW_SIZE))
        with open(os.path.join(work, "nginx.conf"), "w") as f:
            f.write(NGINX_CONF.format(dir=work, fast=fast, slow=slow, rate=SLOW_RATE))
        nginx = subprocess.Popen(["nginx", "-c", os.path.join(work, "nginx.conf"), "-p", work],
                                 stderr=subprocess.DEVNULL)
        time.sleep(0.5)

        print("== 128 MiB from nginx on 127.0.0.1")
        url = "http://127.0.0.1:%d/downloader/7z.dll" % fast
        curl = [timed(["curl", "-s", "-o", os.path.join(work, "curl.out"), url])[1] for _ in range(RUNS)]
        launcher = Launcher(os.path.join(root, "bench-%d" % fast))
        launchers.append(launcher)
        with_download, without = [], []
        for _ in range(RUNS):
            rc, wall, _ = launcher.run_once(remove=True)
            assert rc == 0 and os.path.getsize(os.path.join(launcher.install, "7z.dll")) == SIZE
            with_download.append(wall)
            without.append(launcher.run_once(remove=False)[1])
        download = statistics.median(with_download) - statistics.median(without)
        curl_s = statistics.median(curl)
        print("curl:                        %.2f s  (%.0f MB/s)" % (curl_s, SIZE / curl_s / 1e6))
        print("launcher run with download:  %.2f s" % statistics.median(with_download))
        print("launcher run, nothing to do: %.2f s" % statistics.median(without))
        print("launcher download:           %.2f s  (%.0f MB/s, %.0f%% of curl's throughput)"
              % (download, SIZE / download / 1e6, 100 * curl_s / download))

        print("\n== %d KiB held by nginx to %d KiB/s" % (SLOW_SIZE // 1024, SLOW_RATE // 1024))
        launcher = Launcher(os.path.join(root, "bench-%d" % slow))
        launchers.append(launcher)
        rc, wall, cpu = launcher.run_once(remove=True)
        assert rc == 0 and os.path.getsize(os.path.join(launcher.install, "7z.dll")) == SLOW_SIZE
        _, idle_wall, idle_cpu = launcher.run_once(remove=False)
        print("launcher wall time:      %.2f s" % wall)
        print("launcher processor time: %.3f s (user + system, the launcher's process)" % cpu)
        print("  of which start and end: %.3f s (the same run with nothing to download)" % idle_cpu)
        print("while waiting:           %.2f%% of one core"
              % (100 * max(0.0, cpu - idle_cpu) / max(0.001, wall - idle_wall)))
    finally:
        for launcher in launchers:
            launcher.close()
        if nginx:
            nginx.terminate()
            nginx.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
