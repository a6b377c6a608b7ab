"""The whole engine against a model: random kits over random older trees, the installer killed at a random
step (QORN_TEST_CRASH_AT), random things the user does afterwards (edit, create, delete, move the directory away
and back), and the real executable's next starts. After every start that finds the directory, the invariants:
each original is in place or in a backup folder a message named; what the user wrote stays; the tree is the one
of before or the installed one, as the statuses say; nothing of the run is stranded."""
import os
import re
import shutil
import subprocess
import tempfile

from hypothesis import HealthCheck, settings, strategies as st
from hypothesis.stateful import RuleBasedStateMachine, initialize, invariant, precondition, rule

BIN = os.environ["QORN_BIN_DIR"]
EXAMPLES = int(os.environ.get("QORN_MODEL_EXAMPLES", "25"))
KIT_TIME = 1588748889.4567891   # 2020, with a fraction, as real kits carry
OLD_TIME = 981173106.5          # 2001

names = st.sampled_from(["a.tpl", "b.tpl", "sub/c.tpl", "sub/deep/d.tpl", "e.txt", "sub/f.tpl"])
contents = st.binary(min_size=0, max_size=300)


def write(path, data, when=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    if when is not None:
        os.utime(path, (when, when))


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except (FileNotFoundError, NotADirectoryError, IsADirectoryError):
        return None


class Engine(RuleBasedStateMachine):
    @initialize(kit=st.dictionaries(names, contents, min_size=1), older=st.dictionaries(names, contents),
                crash=st.integers(min_value=-1, max_value=30))
    def install_killed(self, kit, older, crash):
        self.root = tempfile.mkdtemp(prefix="qorn-model-")
        self.home = os.path.join(self.root, "home")
        self.target = os.path.join(self.root, "t")
        self.away = self.target + ".away"
        for name, data in kit.items():
            write(os.path.join(self.root, "src", name), data, KIT_TIME)
        for name, data in older.items():
            write(os.path.join(self.target, name), data, OLD_TIME)
        os.makedirs(self.home)
        os.makedirs(os.path.join(self.root, "tmp"))
        for folder in ("kit", "nokit"):
            os.makedirs(os.path.join(self.root, folder))
            shutil.copy(os.path.join(BIN, "setup"), os.path.join(self.root, folder, "setup"))
        subprocess.run([os.path.join(BIN, "efdkit"), "pack", os.path.join(self.root, "src"),
                        os.path.join(self.root, "kit", "qorn.efd")], check=True, capture_output=True)
        self.kit = kit
        self.before = dict(older)
        self.user = {}          # what the user wrote last at a path
        self.kept = set()       # backup folders a message named
        self.statuses = []
        status, _ = self.start("kit", QORN_TEST_CRASH_AT=str(crash))
        assert status in (0, -9), status  # ended, or killed at the step
        self.committed = status == 0

    def start(self, which, **extra):
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        env.update(HOME=self.home, TMPDIR=os.path.join(self.root, "tmp"), LC_ALL="C.UTF-8", **extra)
        env.pop("XDG_STATE_HOME", None)
        done = subprocess.run([os.path.join(self.root, which, "setup"), "-S", "-Len", "-D" + self.target],
                              env=env, capture_output=True, text=True, errors="replace",
                              cwd=os.path.join(self.root, which), timeout=60)
        said = done.stdout + done.stderr
        self.kept |= set(re.findall(r"kept in this folder: (\S+)", said))
        self.kept |= set(re.findall(r"in this backup folder: (\S+)", said))
        return done.returncode, said

    def here(self):
        return os.path.isdir(self.target) and not os.path.exists(self.away)

    @precondition(lambda self: self.here())
    @rule(name=names, data=contents)
    def user_writes(self, name, data):
        path = os.path.join(self.target, name)
        if os.path.isdir(path):
            return
        try:
            write(path, data)
        except (NotADirectoryError, FileExistsError):
            return
        self.user[name] = data

    @precondition(lambda self: self.here())
    @rule(name=names)
    def user_copies_the_kits_file(self, name):
        # A new file, byte for byte and to the nanosecond the kit's (cp -p, an unpacked copy): still the user's.
        if name not in self.kit or os.path.isdir(os.path.join(self.target, name)):
            return
        try:
            if os.path.lexists(os.path.join(self.target, name)):
                os.unlink(os.path.join(self.target, name))
            os.makedirs(os.path.dirname(os.path.join(self.target, name)), exist_ok=True)
        except (NotADirectoryError, FileExistsError):
            return
        shutil.copy2(os.path.join(self.root, "src", name), os.path.join(self.target, name))
        self.user[name] = self.kit[name]

    @precondition(lambda self: self.here())
    @rule(name=names)
    def user_deletes(self, name):
        try:
            os.unlink(os.path.join(self.target, name))
        except (FileNotFoundError, NotADirectoryError, IsADirectoryError):
            return
        self.user[name] = None

    @precondition(lambda self: self.here())
    @rule()
    def move_away(self):
        os.rename(self.target, self.away)

    @precondition(lambda self: not self.here())
    @rule()
    def start_while_away(self):
        status, said = self.start("nokit")
        assert status == 2, said
        journals = os.listdir(os.path.join(self.home, ".local/state/qorn-setup"))
        if any(j.endswith(".journal") for j in journals):
            assert "waits for its template directory" in said, said
            status, said = self.start("kit")
            assert status == 8, said
            assert not os.path.exists(self.target), "a run into the missing directory made it"
        os.rename(self.away, self.target)

    @precondition(lambda self: self.here())
    @rule()
    def recovering_start(self):
        status, said = self.start("nokit")
        assert status == 2, said
        if "found and undone" in said:
            assert not self.committed, "a committed run was undone: " + said
        self.check()

    def check(self):
        state = os.path.join(self.home, ".local/state/qorn-setup")
        left = [j for j in os.listdir(state)] if os.path.isdir(state) else []
        assert not left, "journals left after a start with the directory in place: %s" % left
        for folder, _, files in os.walk(self.target):
            assert not [f for f in files if f.startswith(".qorn~")], "temporary files stranded in " + folder
        backups = {os.path.join(self.root, b) + "/" for b in os.listdir(self.root) if b.startswith(".xorup")}
        assert backups <= self.kept, "backup folders nobody named: %s" % (backups - self.kept)
        # Untouched by the user: all as before, or all installed, and installed only when the run committed.
        modes = set()
        for name in set(self.kit) | set(self.before):
            if name in self.user:
                continue
            found = read(os.path.join(self.target, name))
            was, kit = self.before.get(name), self.kit.get(name)
            fits = set()
            if found == was:
                fits.add("before")
            if found == kit or (kit is None and found == was):
                fits.add("installed")
            if was is not None and any(read(b + name) == was for b in self.kept):
                fits.add("before")  # the original is kept and named
            if was is not None and found == was and os.stat(os.path.join(self.target, name)).st_mtime > KIT_TIME:
                fits.add("installed")  # newer than the kit: never replaced
            assert fits, "%s holds %r: neither the original %r nor the kit's %r" % (name, found, was, kit)
            modes.add(frozenset(fits))
        common = frozenset({"before", "installed"})
        for fits in modes:
            common &= fits
        assert common, "a tree half before, half installed: %s" % modes
        if self.committed:
            assert "installed" in common
        for name, data in self.user.items():
            if data is not None:
                assert read(os.path.join(self.target, name)) == data, "the user's %s was lost" % name

    def teardown(self):
        if hasattr(self, "root"):
            if not self.here() and os.path.isdir(self.away):
                os.rename(self.away, self.target)
            if os.path.isdir(self.target):
                self.recovering_start()
            shutil.rmtree(self.root, ignore_errors=True)


Engine.TestCase.settings = settings(max_examples=EXAMPLES, stateful_step_count=8, deadline=None,
                                    suppress_health_check=list(HealthCheck))
TestEngine = Engine.TestCase

if __name__ == "__main__":
    import unittest
    unittest.main()
