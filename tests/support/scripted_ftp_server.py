#!/usr/bin/python3
"""A small FTP server of our own that misbehaves on request (stdlib only).

Serves a fixed tree from memory on 127.0.0.1, to any user and password:

    /readme.txt        "hello\\r\\n"
    /bad/              the folder a scenario spoils
    /bad/good.txt      "good\\r\\n"

Passive mode only (EPSV, PASV). Prints the port it listens on, alone on the
first line of stdout, then serves until its stdin closes, the lifetime has
passed, or SIGINT/SIGTERM.

    sleep 60 | /usr/bin/python3 scripted_ftp_server.py --scenario endless-fast-listing [--no-mlsd]

A scenario is a Session subclass registered under its name. It overrides the
one step it spoils and inherits everything else:
  - listing_chunks(folder, mlsd) / file_chunks(path): what a data connection
    carries, as an iterable of byte chunks (an endless or slow generator, a
    file cut short);
  - ftp_VERB(argument): a command's reply (421, a PWD with control
    characters, no reply at all, SIZE refused).
"""

import argparse
import itertools
import posixpath
import signal
import socket
import socketserver
import sys
import threading
import time

SPOILED = "/bad"
SCENARIOS = {}


def scenario(name):
    def register(cls):
        SCENARIOS[name] = cls
        return cls
    return register


def wire(text):
    return text.encode("utf-8", "surrogateescape")


@scenario("normal")
class Session(socketserver.StreamRequestHandler):
    files = {"/readme.txt": b"hello\r\n", SPOILED + "/good.txt": b"good\r\n"}
    folders = {"/", SPOILED}
    mlsd = True
    log = None

    # --- what a scenario may override

    def listing_chunks(self, folder, mlsd):
        yield b"".join(self.entry_line(name, size, is_folder, mlsd) for name, size, is_folder in self.children(folder))

    def file_chunks(self, path):
        yield self.files[path]

    # --- helpers for scenarios

    @staticmethod
    def entry_line(name, size, is_folder, mlsd):
        if mlsd:
            return wire(f"type={'dir' if is_folder else 'file'};size={size};modify=20061205210700; {name}\r\n")
        mode = "drwxr-xr-x" if is_folder else "-rw-r--r--"
        return wire(f"{mode} 1 owner group {size:>10} Dec  5  2006 {name}\r\n")

    def endless_lines(self, mlsd):
        return (self.entry_line(f"file{i:08}.txt", i, False, mlsd) for i in itertools.count())

    def children(self, folder):
        for path in sorted(self.folders | set(self.files)):
            if path != "/" and posixpath.dirname(path) == folder:
                is_folder = path in self.folders
                yield posixpath.basename(path), 0 if is_folder else len(self.files[path]), is_folder

    def reply(self, code, text):
        self.note(f"-> {code} {text}")
        self.wfile.write(wire(f"{code} {text}\r\n"))

    # --- the session

    def handle(self):
        self.cwd = "/"
        self.passive = None
        self.renaming = None
        try:
            self.reply(220, "Vendrel scripted server ready.")
            for raw in self.rfile:
                line = raw.rstrip(b"\r\n").decode("utf-8", "surrogateescape")
                self.note("<- " + line)
                verb, _, argument = line.partition(" ")
                handler = getattr(self, "ftp_" + verb.upper(), None)
                if handler is None:
                    self.reply(502, "Command not implemented.")
                elif handler(argument) is False:
                    return
        except ConnectionError:
            self.note("the client dropped the connection")

    def note(self, text):
        if self.log:
            with open(self.log, "a", encoding="utf-8", errors="backslashreplace") as log:
                log.write(f"{time.strftime('%H:%M:%S')} {text}\n")

    def resolve(self, argument):
        return "/" + posixpath.normpath(posixpath.join(self.cwd, argument or ".")).lstrip("/")

    def ftp_USER(self, _):
        self.reply(331, "Password, please.")

    def ftp_PASS(self, _):
        self.reply(230, "Logged in.")

    def ftp_QUIT(self, _):
        self.reply(221, "Bye.")
        return False

    def ftp_NOOP(self, _):
        self.reply(200, "OK.")

    ftp_OPTS = ftp_TYPE = ftp_NOOP

    def ftp_SYST(self, _):
        self.reply(215, "UNIX Type: L8")

    def ftp_PWD(self, _):
        self.reply(257, f'"{self.cwd}" is the current folder.')

    def ftp_CWD(self, argument):
        path = self.resolve(argument)
        if path not in self.folders:
            return self.reply(550, "No such folder.")
        self.cwd = path
        self.reply(250, "Folder changed.")

    def ftp_CDUP(self, _):
        self.ftp_CWD("..")

    def open_passive(self):
        if self.passive:
            self.passive.close()
        self.passive = socket.create_server(("127.0.0.1", 0))
        self.passive.settimeout(10)
        return self.passive.getsockname()[1]

    def ftp_EPSV(self, _):
        self.reply(229, f"Entering Extended Passive Mode (|||{self.open_passive()}|)")

    def ftp_PASV(self, _):
        port = self.open_passive()
        self.reply(227, f"Entering Passive Mode (127,0,0,1,{port >> 8},{port & 255})")

    def transfer(self, work):
        """Runs work(data socket) between a 150 and its final reply."""
        if not self.passive:
            return self.reply(425, "Use EPSV or PASV first.")
        self.reply(150, "Opening data connection.")
        try:
            data, _ = self.passive.accept()
            with data:
                data.settimeout(30)
                work(data)
        except OSError as error:
            return self.reply(426, f"Transfer aborted: {error}.")
        finally:
            self.passive.close()
            self.passive = None
        self.reply(226, "Transfer complete.")

    def send(self, chunks):
        def send_all(data):
            for chunk in chunks:
                data.sendall(chunk)
        self.transfer(send_all)

    def list_folder(self, argument, mlsd):
        folder = self.resolve(argument)
        if folder not in self.folders:
            return self.reply(550, "No such folder.")
        self.send(self.listing_chunks(folder, mlsd))

    def ftp_MLSD(self, argument):
        if not self.mlsd:
            return self.reply(500, "MLSD not understood.")
        self.list_folder(argument, True)

    def ftp_LIST(self, argument):
        self.list_folder("" if argument.startswith("-") else argument, False)

    def ftp_SIZE(self, argument):
        path = self.resolve(argument)
        if path not in self.files:
            return self.reply(550, "No such file.")
        self.reply(213, str(len(self.files[path])))

    def ftp_RETR(self, argument):
        path = self.resolve(argument)
        if path not in self.files:
            return self.reply(550, "No such file.")
        self.send(self.file_chunks(path))

    def ftp_STOR(self, argument):
        received = []
        self.transfer(lambda data: received.extend(iter(lambda: data.recv(65536), b"")))
        self.files[self.resolve(argument)] = b"".join(received)

    def ftp_DELE(self, argument):
        found = self.files.pop(self.resolve(argument), None) is not None
        self.reply(250 if found else 550, "Deleted." if found else "No such file.")

    def ftp_MKD(self, argument):
        self.folders.add(self.resolve(argument))
        self.reply(257, f'"{self.resolve(argument)}" created.')

    def ftp_RMD(self, argument):
        path = self.resolve(argument)
        empty = path in self.folders and path != "/" and not any(self.children(path))
        if empty:
            self.folders.discard(path)
        self.reply(250 if empty else 550, "Removed." if empty else "Not an empty folder.")

    def ftp_RNFR(self, argument):
        path = self.resolve(argument)
        self.renaming = path if path in self.files else None
        self.reply(350 if self.renaming else 550, "Ready for RNTO." if self.renaming else "No such file.")

    def ftp_RNTO(self, argument):
        if not self.renaming:
            return self.reply(503, "RNFR first.")
        self.files[self.resolve(argument)] = self.files.pop(self.renaming)
        self.renaming = None
        self.reply(250, "Renamed.")


# --- scenarios: each spoils the folder /bad and nothing else


@scenario("endless-fast-listing")
class EndlessFastListing(Session):
    """/bad lists without end, as fast as the client takes the lines."""

    def listing_chunks(self, folder, mlsd):
        if folder != SPOILED:
            return super().listing_chunks(folder, mlsd)
        block = b"".join(itertools.islice(self.endless_lines(mlsd), 1000))
        return itertools.repeat(block)


@scenario("endless-slow-listing")
class EndlessSlowListing(Session):
    """/bad lists without end, one line a second."""

    def listing_chunks(self, folder, mlsd):
        if folder != SPOILED:
            return super().listing_chunks(folder, mlsd)
        return (time.sleep(1) or line for line in self.endless_lines(mlsd))


@scenario("bare-cr-names")
class BareCrNames(Session):
    """/bad also lists names holding a bare CR, inside and at their end."""

    def listing_chunks(self, folder, mlsd):
        if folder != SPOILED:
            return super().listing_chunks(folder, mlsd)
        lines = [self.entry_line(name, 1, False, mlsd) for name in ("a\rb", "good.txt", "c.txt\r")]
        return [b"".join(lines)]


@scenario("huge-sizes")
class HugeSizes(Session):
    """/bad lists two files of 2^63 - 1 bytes each."""

    def listing_chunks(self, folder, mlsd):
        if folder != SPOILED:
            return super().listing_chunks(folder, mlsd)
        return [b"".join(self.entry_line(name, 2**63 - 1, False, mlsd) for name in ("huge1.bin", "huge2.bin"))]


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser(description="Scripted FTP server for Vendrel's tests")
    parser.add_argument("--scenario", default="normal", choices=sorted(SCENARIOS))
    parser.add_argument("--no-mlsd", action="store_true", help="answer MLSD with 500")
    parser.add_argument("--lifetime", type=float, default=300, help="seconds before it stops by itself")
    parser.add_argument("--log", help="file that receives every command and reply")
    arguments = parser.parse_args()

    session = SCENARIOS[arguments.scenario]
    session.mlsd = not arguments.no_mlsd
    session.log = arguments.log
    server = Server(("127.0.0.1", 0), session)
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    signal.alarm(max(1, round(arguments.lifetime)))  # SIGALRM ends the process
    try:
        sys.stdin.buffer.read()  # until the test that started it ends, even by a crash
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
