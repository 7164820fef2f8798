#!/usr/bin/env python3
"""pello-host play's web server under hostile clients, driven over plain HTTP (no browser).

Usage: check_play_server.py PELLO_HOST WORK_DIR

Checks, each against a running `pello-host play`:
  replies    five clients posting steps at once, valid clicks and steps naming an unknown
             item mixed: every reply describes its own request;
  bodies     chunked and over-size bodies are refused with a JSON error before they are
             read whole; a `null` body gets a JSON error; upload names of any text work;
  headers    a flood of header lines is refused and leaves the server's memory as it was;
  slow       clients sending a header line now and then neither block others nor outlive
             their deadline;
  port       a second play on the same port is refused (exit 2, naming the port);
  signals    SIGINT, SIGTERM and SIGHUP, with a slow client connected, shut the plug-in
             down and write its preferences within a second; a failed write is not success.
Prints the figures it measured.
"""
import http.client
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time
import urllib.parse

from check_play import check, fail

ARROWS = ["up", "down", "left", "right"]
# Each client holds its own keys: a click's transcript names them, so a
# reply carrying another client's click shows.
CLIENT_KEYS = [["shift"], ["alt"], ["ctrl"], ["win"], ["shift", "alt"]]
KEY_TEXT = {"shift": "Shift", "alt": "Alt", "ctrl": "Ctrl", "win": "Windows"}
CLIENTS, STEPS = len(CLIENT_KEYS), 200


def memory_kb(pid, field="VmRSS"):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


class Play:
    """pello-host play on a free port with its own preferences file."""

    def __init__(self, host, prefs, port=0):
        args = [host, "play", "--prefs", prefs, "--port", str(port)]
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        match = re.search(r"http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]+)", line)
        if not match:
            self.process.kill()
            fail("play printed no address: %r %s" % (line, self.process.stderr.read()))
        self.port, self.token = int(match.group(1)), match.group(2)

    def connection(self):
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)

    def request(self, method, path, body=None, headers=None, connection=None):
        """(status, parsed JSON or None) of one request with the token."""
        own = connection is None
        connection = connection or self.connection()
        all_headers = {"X-Pello-Token": self.token}
        all_headers.update(headers or {})
        connection.request(method, path, body=body, headers=all_headers)
        response = connection.getresponse()
        text = response.read()
        if own:
            connection.close()
        try:
            return response.status, json.loads(text)
        except ValueError:
            return response.status, None

    def raw(self, head_lines):
        """A socket that has sent this request head (its lines, unfinished)."""
        sock = socket.create_connection(("127.0.0.1", self.port), timeout=30)
        sock.sendall("".join(line + "\r\n" for line in head_lines).encode())
        return sock

    def head(self, method, path, extra=()):
        return ["%s %s HTTP/1.1" % (method, path), "Host: 127.0.0.1:%d" % self.port,
                "X-Pello-Token: " + self.token, *extra]

    def end(self, signum=signal.SIGINT):
        """(exit status, stdout, stderr, seconds) after `signum`."""
        started = time.monotonic()
        self.process.send_signal(signum)
        try:
            out, err = self.process.communicate(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            out, err = self.process.communicate()
            return None, out, err, time.monotonic() - started
        return self.process.returncode, out, err, time.monotonic() - started


def reply_of(sock):
    """(status, JSON body or None) read from a raw socket, (None, None) if it was closed."""
    data = b""
    try:
        while True:
            piece = sock.recv(65536)
            if not piece:
                break
            data += piece
            head, _, body = data.partition(b"\r\n\r\n")
            length = re.search(rb"Content-Length: (\d+)", head, re.I)
            if length and len(body) >= int(length.group(1)):
                break
    except (ConnectionResetError, socket.timeout):
        pass
    match = re.match(rb"HTTP/1\.1 (\d+)", data)
    if not match:
        return None, None
    try:
        return int(match.group(1)), json.loads(data.partition(b"\r\n\r\n")[2])
    except ValueError:
        return int(match.group(1)), None


def check_replies(play):
    """Each of 5 x 200 steps, valid and malformed mixed, must be answered about itself."""
    mismatched, answered = [], [0]
    lock = threading.Lock()

    def client(index):
        connection = play.connection()
        for i in range(STEPS):
            keys = CLIENT_KEYS[index]
            if i % 2:
                name = "nowhere-%d-%d" % (index, i)
                step = {"do": "click", "item": name, "keys": keys}
            else:
                item = ARROWS[(index + i) % 4]
                step = {"do": "click", "item": item, "keys": keys}
                heading = re.compile(r"\] click the %s arrow \(item \d+\) with %s\n" %
                                     (item, re.escape("+".join(KEY_TEXT[k] for k in keys))))
            while True:  # busy with another client's step: asked again, as the page does
                status, body = play.request("POST", "/api/step", json.dumps(step), connection=connection)
                if status != 409:
                    break
                time.sleep(0.002)
            body = body or {}
            if i % 2:
                good = status == 400 and name in body.get("error", "")
            else:
                transcript = body.get("transcript", {}).get("text", "")
                good = status == 200 and "error" not in body and len(heading.findall(transcript)) == 1
            with lock:
                answered[0] += 1
                if not good:
                    mismatched.append((step, status, json.dumps(body)[:300]))

    threads = [threading.Thread(target=client, args=(k,)) for k in range(CLIENTS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    print("figure: %d mismatched replies out of %d" % (len(mismatched), answered[0]))
    for wrong in mismatched[:3]:
        print("  e.g. %r answered %s %s" % wrong)
    check(not mismatched and answered[0] == CLIENTS * STEPS, "every concurrent step is answered about itself")


def send_chunked(play, path, total, piece=1 << 20):
    """Sends `total` bytes chunked to `path`; (status, body, bytes sent, seconds)."""
    sock = play.raw(play.head("POST", path, ["Transfer-Encoding: chunked", "Content-Type: application/json"]))
    sock.sendall(b"\r\n")
    sent, started = [0], time.monotonic()

    def sender():
        chunk = b"%x\r\n" % piece + b" " * piece + b"\r\n"
        try:
            while sent[0] < total:
                sock.sendall(chunk)
                sent[0] += piece
            sock.sendall(b"0\r\n\r\n")
        except OSError:
            pass

    thread = threading.Thread(target=sender)
    thread.start()
    status, body = reply_of(sock)
    seconds = time.monotonic() - started
    sock.close()
    thread.join()
    return status, body, sent[0], seconds


def check_bodies(play):
    pid = play.process.pid
    status, body, sent, seconds = send_chunked(play, "/api/document", 40 << 20)
    print("figure: chunked 40 MB upload: %s after %.1f MB sent, peak memory %d MB" %
          (status, sent / 2**20, memory_kb(pid, "VmHWM") // 1024))
    check(status == 413 and "error" in body, "a chunked upload over the bound is refused with a JSON error")
    status, body, sent, seconds = send_chunked(play, "/api/step", 100 << 20)
    print("figure: chunked 100 MB step: %s after %.1f MB sent in %.2f s" % (status, sent / 2**20, seconds))
    check(status == 413 and "error" in body and sent < (50 << 20),
          "a chunked step over the bound is refused before it is read whole")
    sock = play.raw(play.head("POST", "/api/step", ["Content-Length: %d" % (100 << 20), ""]))
    status, body = reply_of(sock)
    sock.close()
    check(status == 413 and "error" in body, "a step announcing 100 MB is refused before its body comes")
    status, body = play.request("POST", "/api/step", "null")
    check(status == 400 and "error" in body, "a null step gets a JSON error")
    status, body = play.request("POST", "/api/answer", "null")
    check(status == 400 and "error" in body, "a null answer gets a JSON error")

    document = json.dumps({"art": []})
    for name, header in (("été – 設計.json", urllib.parse.quote("été – 設計.json")),
                         ("\ufffd.json", b"\xff.json".decode("latin-1"))):
        status, body = play.request("POST", "/api/document", document.encode(),
                                    {"X-Pello-Document-Name": header})
        check(status == 200, "an upload named %r opens" % name)
        status, body = play.request("GET", "/api/recording")
        check(status == 200 and name in json.dumps(body, ensure_ascii=False),
              "its recording is saved and names it %r" % name)


def check_headers(play):
    pid = play.process.pid
    before = memory_kb(pid)
    sock = play.raw(play.head("GET", "/api/state"))
    try:
        for _ in range(100):
            sock.sendall(b"X-Flood: x\r\n" * 10000)
    except OSError:
        pass
    status, body = reply_of(sock)
    sock.close()
    grown = (memory_kb(pid) - before) // 1024
    print("figure: 10^6 header lines: %s, the server grew by %d MB" % (status, grown))
    check(status == 431 and "error" in body, "a flood of header lines is refused with a JSON error")
    check(grown < 20, "the flood leaves the server's memory as it was")
    sock = play.raw(play.head("GET", "/api/state", ["X-Long: " + "x" * (1 << 20), ""]))
    status, body = reply_of(sock)
    sock.close()
    check(status == 431, "one header line of 1 MB is refused")
    sock = play.raw(["GET /api/state?" + "x" * (64 << 10) + " HTTP/1.1"])
    status, body = reply_of(sock)
    sock.close()
    check(status == 431 and "error" in body, "a request line of 64 KiB is refused with a JSON error")


def slow_clients(play, count):
    """`count` clients that send one header line every 5 s, until closed."""
    socks = [play.raw(play.head("GET", "/api/state")) for _ in range(count)]
    stop = threading.Event()

    def drip():
        while not stop.wait(5):
            for sock in socks:
                try:
                    sock.sendall(b"X-Slow: 1\r\n")
                except OSError:
                    pass

    thread = threading.Thread(target=drip, daemon=True)
    thread.start()
    return socks, stop


def check_slow(play):
    socks, stop = slow_clients(play, 8)
    time.sleep(0.5)
    started = time.monotonic()
    status, _ = play.request("GET", "/api/state")
    seconds = time.monotonic() - started
    print("figure: with 8 slow clients connected another client is answered in %.2f s" % seconds)
    check(status == 200 and seconds < 2, "slow clients do not keep others waiting")
    socks[0].settimeout(40)
    status, body = reply_of(socks[0])
    waited = time.monotonic() - started
    print("figure: a slow client is cut off after %.1f s with %s" % (waited, status))
    check(status == 408 and "error" in body and waited < 35, "a request that takes too long is cut off")
    stop.set()
    for sock in socks:
        sock.close()


def check_port(host, play, work):
    second = subprocess.run([host, "play", "--port", str(play.port), "--prefs", os.path.join(work, "second.json")],
                            capture_output=True, text=True, timeout=30)
    check(second.returncode == 2 and str(play.port) in second.stderr,
          "a second play on port %d is refused with exit 2 naming it: %r" % (play.port, second.stderr.strip()))
    status, _ = play.request("GET", "/api/state")
    check(status == 200, "the first play still answers on its port")


def check_signals(host, work):
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        name = signal.Signals(signum).name
        prefs = os.path.join(work, "prefs-%s.json" % name)
        play = Play(host, prefs)
        socks, stop = slow_clients(play, 1)
        time.sleep(0.3)
        status, _, err, seconds = play.end(signum)
        stop.set()
        socks[0].close()
        print("figure: %s with a slow client connected: exit %s after %.2f s" % (name, status, seconds))
        check(status == 0 and seconds < 2, "%s ends play at once: %s" % (name, err.strip()))
        check(os.path.isfile(prefs) and "Pello" in open(prefs).read(), "%s writes the preferences" % name)

    folder = os.path.join(work, "gone")
    os.makedirs(folder)
    play = Play(host, os.path.join(folder, "prefs.json"))
    shutil.rmtree(folder)
    status, out, err, _ = play.end()
    check(status not in (0, None) and "prefs.json" in err and "preferences written" not in out,
          "preferences that cannot be written are a failure: exit %s, %r" % (status, err.strip()))


def main():
    host, work = sys.argv[1], sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    play = Play(host, os.path.join(work, "prefs.json"))
    try:
        check_replies(play)
        check_bodies(play)
        check_headers(play)
        check_port(host, play, work)
        check_slow(play)
    finally:
        status, _, err, _ = play.end()
    check(status == 0, "play ends with status 0: %s" % err.strip())
    check_signals(host, work)


if __name__ == "__main__":
    main()
