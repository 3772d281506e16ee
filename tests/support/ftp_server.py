"""A real FTP server for the tests, on 127.0.0.1 and a free port.

Usage: ftp_server.py HOME USER PASSWORD [--log FILE] [--no-mlsd]
                     [--dos-list] [--shift-hours N] [--rate BYTES]
                     [--extra-line LINE]...

Prints the port on one line once it listens. It exits when its standard
input closes (the test process ended) or on SIGTERM.

  --log FILE       every command and reply, prefixed with the client ip:port
  --no-mlsd        a server without MLSD/MLST (clients must fall back to LIST)
  --dos-list       LIST answers in the DOS form instead of the Unix form
  --shift-hours N  every listed date is N hours off the file's real time
  --rate BYTES     data connections move at most BYTES per second each way
  --extra-line L   L is added, as it stands, to every LIST and MLSD answer
                   (entries no file system can hold, like "../x.7z")
"""
import argparse
import logging
import os
import signal
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def shifted(st, seconds):
    fields = list(st[:10])
    fields[8] = int(st.st_mtime + seconds)
    return os.stat_result(fields)


def make_filesystem(args):
    class Filesystem(AbstractedFS):
        def stat(self, path):
            return shifted(os.stat(path), args.shift_hours * 3600)

        def lstat(self, path):
            return shifted(os.lstat(path), args.shift_hours * 3600)

        def extra_lines(self):
            for line in args.extra_line:
                yield (line + "\r\n").encode("utf8")

        def format_mlsx(self, basedir, listing, perms, facts, ignore_err=True):
            yield from AbstractedFS.format_mlsx(self, basedir, listing, perms, facts, ignore_err)
            yield from self.extra_lines()

        def format_list(self, basedir, listing, ignore_err=True):
            yield from self.format_files(basedir, listing, ignore_err)
            yield from self.extra_lines()

        def format_files(self, basedir, listing, ignore_err):
            if not args.dos_list:
                yield from AbstractedFS.format_list(self, basedir, listing, ignore_err)
                return
            for name in listing:
                st = self.lstat(os.path.join(basedir, name))
                when = time.strftime("%m-%d-%y  %I:%M%p", time.gmtime(st.st_mtime))
                if os.path.isdir(os.path.join(basedir, name)):
                    line = "%s       <DIR>          %s\r\n" % (when, name)
                else:
                    line = "%s %20d %s\r\n" % (when, st.st_size, name)
                yield line.encode("utf8")

    return Filesystem


def make_paced_data_handler(rate):
    # pyftpdlib's own throttle lets a whole second's worth through at once;
    # this one holds the channel back whenever it runs ahead of the rate, so
    # that even a short transfer takes its time.
    class Paced(ThrottledDTPHandler):
        read_limit = rate
        write_limit = rate
        started = None
        moved = 0

        def _throttle_bandwidth(self, len_chunk, max_speed):
            now = time.monotonic()
            if self.started is None:
                self.started = now
            self.moved += len_chunk
            ahead = self.moved / max_speed - (now - self.started)
            if ahead <= 0:
                return
            event = self.ioloop.READ if self.receive else self.ioloop.WRITE
            self.del_channel()
            self._cancel_throttler()
            self._throttler = self.ioloop.call_later(
                ahead, lambda: self.add_channel(events=event), _errback=self.handle_error)

    return Paced


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("home")
    parser.add_argument("user")
    parser.add_argument("password")
    parser.add_argument("--log")
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--dos-list", action="store_true")
    parser.add_argument("--shift-hours", type=float, default=0)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--extra-line", action="append", default=[])
    args = parser.parse_args()

    logger = logging.getLogger("pyftpdlib")
    if args.log:
        logger.setLevel(logging.DEBUG)
        logger.addHandler(logging.FileHandler(args.log))
    else:
        logger.addHandler(logging.NullHandler())
    logger.propagate = False

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.home, perm="elradfmwMT")

    class Handler(FTPHandler):
        auth_failed_timeout = 0  # the default delays every wrong password 3 s
        proto_cmds = dict(FTPHandler.proto_cmds)
        if args.no_mlsd:
            del proto_cmds["MLSD"]
            del proto_cmds["MLST"]

    Handler.authorizer = authorizer
    Handler.abstracted_fs = make_filesystem(args)
    if args.rate:
        Handler.dtp_handler = make_paced_data_handler(args.rate)

    server = FTPServer(("127.0.0.1", 0), Handler)
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))

    def exit_when_parent_goes():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=exit_when_parent_goes, daemon=True).start()
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
