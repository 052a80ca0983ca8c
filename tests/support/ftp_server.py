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
import codecs
import io
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
    # Faults of a broken or hostile server.
    parser.add_argument("--endless-listing", action="store_true",
                        help="LIST and MLSD send an entry a second and never end")
    parser.add_argument("--cut-after", type=int, default=-1,
                        help="RETR sends only this many bytes, then 226; SIZE is refused")
    parser.add_argument("--extra-bytes", type=int, default=0,
                        help="RETR sends this many bytes more than the file holds")
    parser.add_argument("--lost-reply", default="",
                        help="comma-separated verbs (DELE,MKD,RMD,RNTO) that are carried out, "
                             "then the connection is closed without a reply")
    parser.add_argument("--closing-421", default="",
                        help="comma-separated verbs answered with 421 and a closed connection, undone")
    parser.add_argument("--no-connect-back", action="store_true",
                        help="PORT and EPRT are accepted, but no data connection is ever opened")
    parser.add_argument("--pwd-reply", help="the folder PWD names, Python escapes allowed (\\x01)")
    return parser.parse_args()


def verbs(text):
    return {verb.strip().upper() for verb in text.split(",") if verb.strip()}


class EndlessListing(object):
    """An entry per call, for ever: with a data connection throttled to an
    entry's length per second, an entry a second."""

    def __init__(self, mlsd):
        self.mlsd = mlsd
        self.count = 0

    def more(self):
        self.count += 1
        name = "entry%08d.txt" % self.count
        if self.mlsd:
            return ("type=file;size=1;modify=20240101000000; %s\r\n" % name).encode()
        return ("-rw-r--r--   1 owner group 1 Jan 01  2024 %s\r\n" % name).encode()


ENTRY_BYTES = len(EndlessListing(False).more())


class BytesProducer(object):
    def __init__(self, data):
        self.data = io.BytesIO(data)

    def more(self):
        return self.data.read(65536)


def handler_class(arguments):
    commands = dict(FTPHandler.proto_cmds)
    if arguments.no_mlsd:
        for name in ("MLSD", "MLST"):
            commands.pop(name, None)
    lost_reply = verbs(arguments.lost_reply)
    closing_421 = verbs(arguments.closing_421)

    class Handler(FTPHandler):
        proto_cmds = commands
        timeout = arguments.idle_timeout
        unicode_errors = "surrogateescape"
        banner = "Vendrel test server ready."
        auth_failed_timeout = 0.2  # pyftpdlib waits 3 s before refusing a password

        def push(self, data):
            # Replies that quote such a name (CWD, MKD) go out in its bytes too.
            asynchat.async_chat.push(self, data.encode("utf8", self.unicode_errors))

        def pre_process_command(self, line, cmd, arg):
            if cmd in closing_421:
                self.respond("421 Service not available, closing control connection.")
                self.close_when_done()
                return
            FTPHandler.pre_process_command(self, line, cmd, arg)

        def process_command(self, cmd, *args, **kwargs):
            if cmd not in lost_reply:
                return FTPHandler.process_command(self, cmd, *args, **kwargs)
            # Carried out, then the connection drops before the reply.
            self.respond = lambda *_args, **_kwargs: None
            FTPHandler.process_command(self, cmd, *args, **kwargs)
            self.close()

        def ftp_PORT(self, line):
            if not arguments.no_connect_back:
                return FTPHandler.ftp_PORT(self, line)
            self.respond("200 Active data connection established.")

        def ftp_EPRT(self, line):
            if not arguments.no_connect_back:
                return FTPHandler.ftp_EPRT(self, line)
            self.respond("200 Active data connection established.")

        def ftp_PWD(self, line):
            if arguments.pwd_reply is None:
                return FTPHandler.ftp_PWD(self, line)
            folder = codecs.decode(arguments.pwd_reply, "unicode_escape")
            self.respond('257 "%s" is the current directory.' % folder.replace('"', '""'))

        def ftp_SIZE(self, path):
            if arguments.cut_after >= 0:
                return self.respond("550 SIZE not allowed here.")
            return FTPHandler.ftp_SIZE(self, path)

        def ftp_RETR(self, file):
            if arguments.cut_after < 0 and arguments.extra_bytes == 0:
                return FTPHandler.ftp_RETR(self, file)
            try:
                with open(file, "rb") as source:
                    data = source.read()
            except OSError as err:
                return self.respond("550 %s." % err.strerror)
            if arguments.cut_after >= 0:
                data = data[:arguments.cut_after]
            data += b"x" * arguments.extra_bytes
            self.push_dtp_data(BytesProducer(data), isproducer=True, cmd="RETR")
            return file

        def ftp_LIST(self, path):
            if not arguments.endless_listing:
                return FTPHandler.ftp_LIST(self, path)
            self.push_dtp_data(EndlessListing(False), isproducer=True, cmd="LIST")
            return path

        def ftp_MLSD(self, path):
            if not arguments.endless_listing:
                return FTPHandler.ftp_MLSD(self, path)
            self.push_dtp_data(EndlessListing(True), isproducer=True, cmd="MLSD")
            return path

    throttle = arguments.throttle or (ENTRY_BYTES if arguments.endless_listing else 0)
    if throttle > 0:
        # Its buffers shrink to the limit, so a slow server sends in small steps.
        class SlowDataHandler(ThrottledDTPHandler):
            read_limit = throttle
            write_limit = throttle

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
