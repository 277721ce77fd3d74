#!/usr/bin/env python3
"""Runs Debian's radicale on 127.0.0.1 for the CalDAV tests, with a storage
folder and an htpasswd user of its own, under a small supervisor that the
tests reach over a control port to stop and restart the server (a server
that goes away mid-pass). Works for native tests and for Windows tests
under Wine alike: both only read DIR/ports and open sockets.

    radicale_server.py start DIR   # fresh DIR; returns once radicale answers
    radicale_server.py stop DIR    # ends radicale and the supervisor

DIR/ports holds "PORT CONTROL_PORT". The control port takes one line a
connection: "stop" (radicale ends, the port is closed), "start" (radicale
runs again on the same port) or "quit"; it answers "ok" or "error ...".
"""
import os
import shutil
import signal
import socket
import subprocess
import sys
import time

USER, PASSWORD = "tallyo", "s3cret-pass"
RADICALE_PYTHON = "/usr/bin/python3"  # the first python3 on PATH may lack radicale
LIFETIME_SECONDS = 900
# radicale as `python3 -m radicale`, but without flushing every object it
# writes to the disk (some 40 ms each here): the storage is thrown away.
NO_FSYNC_RADICALE = ("import os, runpy; os.fsync = lambda fd: None; "
                     "runpy.run_module('radicale', run_name='__main__', alter_sys=True)")  # a supervisor left behind by a killed test run ends by itself


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def answers(port, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                return True
        except OSError:
            time.sleep(0.05)
    return False


def write_config(folder, port):
    """A configuration file of the test's own (none of the machine's is read)."""
    path = os.path.join(folder, "config")
    with open(path, "w") as f:
        f.write("[server]\nhosts = 127.0.0.1:%d\n"
                "[auth]\ntype = htpasswd\nhtpasswd_filename = %s\nhtpasswd_encryption = plain\n"
                "[storage]\nfilesystem_folder = %s\n"
                "[logging]\nlevel = %s\n"
                % (port, os.path.join(folder, "htpasswd"), os.path.join(folder, "storage"),
                   os.environ.get("RADICALE_LOG_LEVEL", "warning")))
    return path


def start_radicale(folder, port):
    log = open(os.path.join(folder, "radicale.log"), "ab")
    return subprocess.Popen(
        [RADICALE_PYTHON, "-c", NO_FSYNC_RADICALE, "--config", write_config(folder, port)],
        stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)


def stop_radicale(process):
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def supervise(folder):
    port = free_port()
    control = socket.socket()
    control.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    control.bind(("127.0.0.1", 0))
    control.listen(4)
    control.settimeout(1.0)
    radicale = start_radicale(folder, port)
    if not answers(port):
        stop_radicale(radicale)
        sys.exit(1)
    with open(os.path.join(folder, "ports.tmp"), "w") as f:
        f.write("%d %d\n" % (port, control.getsockname()[1]))
    os.replace(os.path.join(folder, "ports.tmp"), os.path.join(folder, "ports"))
    deadline = time.monotonic() + LIFETIME_SECONDS
    while time.monotonic() < deadline:
        try:
            connection, _ = control.accept()
        except socket.timeout:
            continue
        with connection:
            connection.settimeout(10)
            try:
                command = connection.recv(64).decode("ascii", "replace").strip()
            except OSError:
                continue
            reply = "ok"
            if command == "stop":
                stop_radicale(radicale)
            elif command == "start":
                if radicale.poll() is not None:
                    radicale = start_radicale(folder, port)
                    if not answers(port):
                        reply = "error radicale did not start again"
            elif command == "quit":
                connection.sendall(b"ok\n")
                break
            else:
                reply = "error unknown command"
            connection.sendall((reply + "\n").encode("ascii"))
    stop_radicale(radicale)


def start(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "storage"))
    with open(os.path.join(folder, "htpasswd"), "w") as f:
        f.write("%s:%s\n" % (USER, PASSWORD))
    supervisor = subprocess.Popen([sys.executable, os.path.abspath(__file__), "supervise", folder],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, start_new_session=True)
    with open(os.path.join(folder, "supervisor.pid"), "w") as f:
        f.write("%d\n" % supervisor.pid)
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if os.path.exists(os.path.join(folder, "ports")):
            print("radicale on 127.0.0.1:%s" % open(os.path.join(folder, "ports")).read().split()[0])
            return 0
        if supervisor.poll() is not None:
            break
        time.sleep(0.05)
    print("radicale did not start; see %s" % os.path.join(folder, "radicale.log"), file=sys.stderr)
    return 1


def stop(folder):
    try:
        control_port = int(open(os.path.join(folder, "ports")).read().split()[1])
        with socket.create_connection(("127.0.0.1", control_port), timeout=5) as s:
            s.sendall(b"quit\n")
            s.recv(16)
    except (OSError, ValueError, IndexError):
        pass
    try:
        pid = int(open(os.path.join(folder, "supervisor.pid")).read())
    except (OSError, ValueError):
        return 0
    for _ in range(200):
        try:
            os.kill(pid, 0)
        except OSError:
            return 0
        time.sleep(0.05)
    os.kill(pid, signal.SIGKILL)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop", "supervise"):
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    action, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    if action == "supervise":
        supervise(folder)
    else:
        sys.exit(start(folder) if action == "start" else stop(folder))
