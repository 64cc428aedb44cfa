"""Runs the host program, natively or under Wine, and reads its JSON Lines output."""
import json
import subprocess

KEYS = ["depth", "start", "end", "name", "deferred", "tagCode"]


class Host:
    def __init__(self, command, path_prefix=""):
        self.command = command          # e.g. ["build/linux/bin/vizmora"] or [wine-run.sh, vizmora.exe]
        self.path_prefix = path_prefix  # "Z:" under Wine, where the Unix root is drive Z:

    def path(self, path):
        return self.path_prefix + path

    def run(self, *args, timeout=300):
        """Returns (exit code, stdout bytes, stderr text)."""
        done = subprocess.run(self.command + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              stdin=subprocess.DEVNULL, timeout=timeout)
        return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")

    def items(self, *args):
        """The items of a --json run; fails unless it exits 0 and every line is well formed."""
        code, out, err = self.run("--json", *args)
        if code != 0:
            raise AssertionError(f"vizmora {' '.join(args)} exited {code}: {err.strip()}")
        return parse_lines(out)


def parse_lines(out):
    items = []
    for number, line in enumerate(out.decode("ascii").splitlines(), 1):
        item = json.loads(line)
        if list(item.keys()) != KEYS:
            raise AssertionError(f"line {number}: keys {list(item.keys())}")
        for key in ("depth", "start", "end", "deferred", "tagCode"):
            if not isinstance(item[key], int) or not 0 <= item[key] <= 0xFFFFFFFF:
                raise AssertionError(f"line {number}: {key} = {item[key]!r}")
        items.append(item)
    return items


def host_from_arguments(argv):
    """argv: [--wine RUNNER] HOST"""
    if argv[0] == "--wine":
        return Host([argv[1], argv[2]], "Z:"), argv[3:]
    return Host([argv[0]]), argv[1:]
