#!/usr/bin/python3
"""A local FTP server for Vendrel's tests and demonstrations (pyftpdlib).

Serves one folder on 127.0.0.1: user "vendrel" / password "secret" may do
everything, anonymous may only read. Prints the port it listens on, alone on
the first line of stdout, then serves until its stdin (a pipe) closes, the
lifetime has passed, or SIGINT/SIGTERM.

    /usr/bin/python3 ftp_server.py --root /tmp/site --port 2121

Names that are not UTF-8 go out and come back as the very bytes they are on
disk. The fault options make it a broken or hostile server.
"""

import argparse
import logging
import os
import signal
import stat
import sys
import threading
import types

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import asynchat
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.handlers import ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def parse_arguments():
    parser = argparse.ArgumentParser(description="Local FTP server for Vendrel")
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--port", type=int, default=0, help="port (0: any free one)")
    parser.add_argument("--no-mlsd", action="store_true", help="answer MLSD and MLST with 500")
    parser.add_argument("--no-mfmt", action="store_true", help="offer no MFMT (FEAT does not list it)")
    parser.add_argument("--idle-timeout", type=float, default=300, help="seconds an idle session is kept")
    parser.add_argument("--throttle", type=int, default=0, help="bytes per second a data connection moves at most")
    parser.add_argument("--lifetime", type=float, default=15 * 60, help="seconds before it stops (0: never)")
    parser.add_argument("--log", help="file that receives every command and reply")
    # Faults of a broken or hostile server.
    parser.add_argument("--endless-listing", choices=["slow", "fast"],
                        help="listings of a folder named 'endless' never end: an entry a second, or at full speed")
    parser.add_argument("--cut-first-download", type=int, default=0,
                        help="the first RETR sends this many bytes, then the session drops as a broken line would")
    parser.add_argument("--extra-bytes", type=int, default=0, help="RETR sends this many bytes more than the file")
    parser.add_argument("--lost-reply", default="", help="verbs carried out, then the connection drops unanswered")
    parser.add_argument("--closing-421", default="", help="verbs answered with 421 and a closed connection, undone")
    parser.add_argument("--no-connect-back", action="store_true", help="PORT and EPRT open no data connection")
    parser.add_argument("--silent", default="", help="verbs (or CONNECT) after which the first session never answers again")
    return parser.parse_args()


def verbs(text):
    return {verb.strip().upper() for verb in text.split(",") if verb.strip()}


def producer(pieces):
    """What a data connection carries, a piece per call."""
    return types.SimpleNamespace(more=lambda: next(pieces, b""))


def endless_entries(mlsd, per_piece):
    count = 0
    while True:
        lines = []
        for count in range(count + 1, count + 1 + per_piece):
            name = "entry%08d.txt" % count
            lines.append("type=file;size=1;modify=20240101000000; %s\r\n" % name if mlsd
                         else "-rw-r--r--   1 owner group 1 Jan 01  2024 %s\r\n" % name)
        yield "".join(lines).encode()


ENTRY_BYTES = len(next(endless_entries(False, 1)))


def handler_class(arguments):
    commands = dict(FTPHandler.proto_cmds)
    if arguments.no_mlsd:
        for name in ("MLSD", "MLST"):
            commands.pop(name, None)
    if arguments.no_mfmt:
        commands.pop("MFMT", None)
    lost_reply = verbs(arguments.lost_reply)
    closing_421 = verbs(arguments.closing_421)
    silencing = verbs(arguments.silent)
    sessions = [0]
    cut_left = [arguments.cut_first_download]

    class Handler(FTPHandler):
        proto_cmds = commands
        timeout = arguments.idle_timeout
        unicode_errors = "surrogateescape"
        banner = "Vendrel test server ready."
        auth_failed_timeout = 0.2  # pyftpdlib waits 3 s before refusing a password
        def on_connect(self):
            sessions[0] += 1
            self.first_session = sessions[0] == 1
            self.silent = self.first_session and "CONNECT" in silencing

        def push(self, data):
            # As a connection a router forgot: nothing arrives, nothing tells.
            if not self.silent:
                # Replies that quote a name that is not UTF-8 go out in its bytes too.
                asynchat.async_chat.push(self, data.encode("utf8", self.unicode_errors))

        def pre_process_command(self, line, cmd, arg):
            self.silent = self.silent or (self.first_session and cmd in silencing)
            if self.silent:
                return
            if cmd in closing_421:
                self.respond("421 Service not available, closing control connection.")
                self.close_when_done()
                return
            FTPHandler.pre_process_command(self, line, cmd, arg)

        def process_command(self, cmd, *args, **kwargs):
            if cmd not in lost_reply:
                return FTPHandler.process_command(self, cmd, *args, **kwargs)
            self.respond = lambda *_args, **_kwargs: None
            FTPHandler.process_command(self, cmd, *args, **kwargs)
            self.close()

        def respond(self, *args, **kwargs):
            # A cut download ends with a dropped session instead of its 226.
            if getattr(self, "cut_before_reply", False) and args[0].startswith("226"):
                return self.close()
            return FTPHandler.respond(self, *args, **kwargs)

        def accept_without_connecting_back(self, line):
            self.respond("200 Active data connection established.")

        if arguments.no_connect_back:
            ftp_PORT = ftp_EPRT = accept_without_connecting_back

        def ftp_RETR(self, file):
            cut, cut_left[0] = cut_left[0], 0
            if arguments.extra_bytes == 0 and cut == 0:
                return FTPHandler.ftp_RETR(self, file)
            try:
                with open(file, "rb") as source:
                    data = source.read() + b"x" * arguments.extra_bytes
            except OSError as err:
                return self.respond("550 %s." % err.strerror)
            self.cut_before_reply = cut > 0
            self.push_dtp_data(producer(iter([data[:cut] if cut else data])), isproducer=True, cmd="RETR")
            return file

        def list_endlessly(self, path, mlsd, plain):
            if not arguments.endless_listing or os.path.basename(path.rstrip("/")) != "endless":
                return plain(self, path)
            per_piece = 1 if arguments.endless_listing == "slow" else 1000
            self.push_dtp_data(producer(endless_entries(mlsd, per_piece)), isproducer=True,
                               cmd="MLSD" if mlsd else "LIST")
            return path

        def ftp_LIST(self, path):
            return self.list_endlessly(path, False, FTPHandler.ftp_LIST)

        def ftp_MLSD(self, path):
            return self.list_endlessly(path, True, FTPHandler.ftp_MLSD)

    throttle = arguments.throttle or (ENTRY_BYTES if arguments.endless_listing == "slow" else 0)
    if throttle > 0:
        # Its buffers shrink to the limit, so a slow server sends in small steps.
        class SlowDataHandler(ThrottledDTPHandler):
            read_limit = throttle
            write_limit = throttle

        Handler.dtp_handler = SlowDataHandler

    authorizer = DummyAuthorizer()
    authorizer.add_user("vendrel", "secret", arguments.root, perm="elradfmwMT")
    authorizer.add_anonymous(arguments.root, perm="elr")
    Handler.authorizer = authorizer
    return Handler


def stop_when_parent_leaves():
    # Only a pipe tells that the parent went away; a terminal or /dev/null does not.
    if not stat.S_ISFIFO(os.fstat(sys.stdin.fileno()).st_mode):
        return

    def drain():
        while sys.stdin.buffer.read1(4096):
            pass
        os._exit(0)

    threading.Thread(target=drain, daemon=True).start()


def main():
    arguments = parse_arguments()
    if arguments.log:
        logging.basicConfig(filename=arguments.log, level=logging.DEBUG,
                            format="%(asctime)s.%(msecs)03d %(message)s", datefmt="%H:%M:%S")
    else:
        logging.basicConfig(level=logging.INFO, format="%(asctime)s %(message)s")

    # Every way out is immediate: the kernel closes the sockets, nothing is left to save.
    for signum in (signal.SIGINT, signal.SIGTERM):
        signal.signal(signum, lambda *_: os._exit(0))
    stop_when_parent_leaves()
    if arguments.lifetime > 0:
        timer = threading.Timer(arguments.lifetime, os._exit, [0])
        timer.daemon = True
        timer.start()

    server = FTPServer(("127.0.0.1", arguments.port), handler_class(arguments))
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever(timeout=0.1, handle_exit=False)  # a short poll keeps idle timeouts on time


if __name__ == "__main__":
    main()
