#!/usr/bin/python3
"""A local FTP server for Vendrel's tests and demonstrations (pyftpdlib).

Serves one folder on 127.0.0.1: user "vendrel" / password "secret" may do
everything, anonymous may only read. Prints the port it listens on, alone on
the first line of stdout, then serves until one of these happens:
  - its stdin is a pipe and the other end closes (the test that started it
    ended, even by a crash);
  - the lifetime has passed (15 minutes unless told otherwise);
  - SIGINT or SIGTERM.

    /usr/bin/python3 ftp_server.py --root /tmp/site --port 2121

Names that are not UTF-8 go out and come back as the very bytes they are on
disk, so clients can be tested against servers that are not UTF-8 clean.
"""

import argparse
import logging
import os
import signal
import stat
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import asynchat
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.handlers import ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

USER = "vendrel"
PASSWORD = "secret"
FULL_PERMISSIONS = "elradfmwMT"
READ_PERMISSIONS = "elr"


def parse_arguments():
    parser = argparse.ArgumentParser(description="Local FTP server for Vendrel")
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--port", type=int, default=0, help="port (0: any free one)")
    parser.add_argument("--no-mlsd", action="store_true",
                        help="answer MLSD and MLST with 500, as servers without them do")
    parser.add_argument("--idle-timeout", type=float, default=300,
                        help="seconds before an idle control connection is closed")
    parser.add_argument("--throttle", type=int, default=0,
                        help="bytes per second a data connection sends or takes at most (0: no limit)")
    parser.add_argument("--lifetime", type=float, default=15 * 60,
                        help="seconds before the server stops by itself (0: never)")
    parser.add_argument("--log", help="file that receives every command and reply")
    return parser.parse_args()


def handler_class(arguments):
    commands = dict(FTPHandler.proto_cmds)
    if arguments.no_mlsd:
        for name in ("MLSD", "MLST"):
            commands.pop(name, None)

    class Handler(FTPHandler):
        proto_cmds = commands
        timeout = arguments.idle_timeout
        unicode_errors = "surrogateescape"
        banner = "Vendrel test server ready."
        auth_failed_timeout = 0.2  # pyftpdlib waits 3 s before refusing a password

        def push(self, data):
            # Replies that quote such a name (CWD, MKD) go out in its bytes too.
            asynchat.async_chat.push(self, data.encode("utf8", self.unicode_errors))

    if arguments.throttle > 0:
        # Its buffers shrink to the limit, so a slow server sends in small steps.
        class SlowDataHandler(ThrottledDTPHandler):
            read_limit = arguments.throttle
            write_limit = arguments.throttle

        Handler.dtp_handler = SlowDataHandler

    authorizer = DummyAuthorizer()
    authorizer.add_user(USER, PASSWORD, arguments.root, perm=FULL_PERMISSIONS)
    authorizer.add_anonymous(arguments.root, perm=READ_PERMISSIONS)
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


def stop_after(seconds):
    if seconds > 0:
        timer = threading.Timer(seconds, os._exit, [0])
        timer.daemon = True
        timer.start()


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
    stop_after(arguments.lifetime)

    server = FTPServer(("127.0.0.1", arguments.port), handler_class(arguments))
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever(timeout=0.1, handle_exit=False)  # a short poll keeps idle timeouts on time


if __name__ == "__main__":
    main()
