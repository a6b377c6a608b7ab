"""The whole engine against a model: random kits over random older trees, the installer killed at a random step
(QORN_TEST_CRASH_AT), then what a user does (edit, delete, copy the kit's file with its time, move the directory
away and back) and the real executable's next starts. After every start that finds the directory: each original is
in place or in a backup folder a message named, what the user wrote stays, the tree is the one of before or the
installed one as the statuses say, and nothing of the run is stranded."""
import os
import re
import shutil
import subprocess
import tempfile

from hypothesis import HealthCheck, settings, strategies as st
from hypothesis.stateful import RuleBasedStateMachine, initialize, precondition, rule

BIN = os.environ["QORN_BIN_DIR"]
KIT_TIME, OLD_TIME = 1588748889.4567891, 981173106.5  # 2020 with a fraction, as kits carry; 2001
names = st.sampled_from(["a.tpl", "b.tpl", "sub/c.tpl", "sub/deep/d.tpl", "e.txt", "sub/f.tpl"])
contents = st.binary(max_size=300)


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
    except OSError:
        return None


class Engine(RuleBasedStateMachine):
    @initialize(kit=st.dictionaries(names, contents, min_size=1), older=st.dictionaries(names, contents),
                crash=st.integers(min_value=-1, max_value=30))
    def install_killed(self, kit, older, crash):
        self.root = tempfile.mkdtemp(prefix="qorn-model-")
        self.target, self.home = os.path.join(self.root, "t"), os.path.join(self.root, "home")
        self.away = self.target + ".away"
        for name, data in kit.items():
            write(os.path.join(self.root, "src", name), data, KIT_TIME)
        for name, data in older.items():
            write(os.path.join(self.target, name), data, OLD_TIME)
        for folder in ("home", "tmp", "kit", "nokit"):
            os.makedirs(os.path.join(self.root, folder))
        for folder in ("kit", "nokit"):
            shutil.copy(os.path.join(BIN, "setup"), os.path.join(self.root, folder))
        subprocess.run([os.path.join(BIN, "efdkit"), "pack", os.path.join(self.root, "src"),
                        os.path.join(self.root, "kit", "qorn.efd")], check=True, capture_output=True)
        self.kit, self.before, self.user, self.kept = kit, dict(older), {}, set()
        status, _ = self.start("kit", QORN_TEST_CRASH_AT=str(crash))
        assert status in (0, -9), status  # ended, or killed at the step
        self.committed = status == 0

    def start(self, which, **extra):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XDG_STATE_HOME")}
        env.update(HOME=self.home, TMPDIR=os.path.join(self.root, "tmp"), LC_ALL="C.UTF-8", **extra)
        done = subprocess.run([os.path.join(self.root, which, "setup"), "-S", "-Len", "-D" + self.target], env=env,
                              capture_output=True, text=True, errors="replace", cwd=os.path.join(self.root, which))
        said = done.stdout + done.stderr
        self.kept |= set(re.findall(r"(?:kept in this folder|in this backup folder): (\S+)", said))
        return done.returncode, said

    def here(self):
        return not os.path.exists(self.away)

    @precondition(here)
    @rule(name=names, data=contents, copy_the_kits=st.booleans())
    def user_writes(self, name, data, copy_the_kits):
        path = os.path.join(self.target, name)
        try:
            if copy_the_kits and name in self.kit:  # a new file, to the nanosecond the kit's (cp -p, unpacked)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                if os.path.lexists(path):
                    os.unlink(path)
                shutil.copy2(os.path.join(self.root, "src", name), path)
                data = self.kit[name]
            else:
                write(path, data)
        except OSError:  # a folder stands there, or a file where a folder must be
            return
        self.user[name] = data

    @precondition(here)
    @rule(name=names)
    def user_deletes(self, name):
        try:
            os.unlink(os.path.join(self.target, name))
            self.user[name] = None
        except OSError:
            pass

    @precondition(lambda self: self.here() and os.path.isdir(self.target))
    @rule()
    def move_away(self):
        os.rename(self.target, self.away)

    @precondition(lambda self: not self.here())
    @rule()
    def starts_while_away_then_move_back(self):
        status, said = self.start("nokit")
        assert status == 2, said
        if any(j.endswith(".journal") for j in os.listdir(os.path.join(self.home, ".local/state/qorn-setup"))):
            assert "waits for its template directory" in said, said
            status, said = self.start("kit")
            assert status == 8 and not os.path.exists(self.target), said
        os.rename(self.away, self.target)

    @precondition(here)
    @rule()
    def recovering_start(self):
        status, said = self.start("nokit")
        assert status == 2, said
        assert not (self.committed and "found and undone" in said), said
        state = os.path.join(self.home, ".local/state/qorn-setup")
        assert not (os.path.isdir(state) and os.listdir(state)), os.listdir(state)
        for folder, _, files in os.walk(self.target):
            assert not [f for f in files if f.startswith(".qorn~")], "temporary files stranded in " + folder
        backups = {os.path.join(self.root, b) + "/" for b in os.listdir(self.root) if b.startswith(".xorup")}
        assert backups <= self.kept, "backup folders nobody named: %s" % (backups - self.kept)
        # Untouched by the user: all as before, or all installed (only when the run committed).
        common = {"before", "installed"}
        for name in (set(self.kit) | set(self.before)) - set(self.user):
            path, was, kit = os.path.join(self.target, name), self.before.get(name), self.kit.get(name)
            found = read(path)
            fits = set()
            if found == was or (was is not None and any(read(b + name) == was for b in self.kept)):
                fits.add("before")
            if found == (was if kit is None else kit):
                fits.add("installed")
            assert fits, "%s holds %r: neither the original %r nor the kit's %r" % (name, found, was, kit)
            common &= fits
        assert common and (not self.committed or "installed" in common), "a tree half before, half installed"
        # The kit's record goes and comes with its files: the tree before has none.
        record_folder = os.path.join(self.target, ".qorn-record")
        records = os.listdir(record_folder) if os.path.isdir(record_folder) else []
        if common != {"before", "installed"}:
            assert len(records) == ("installed" in common), "records %s over the tree %s" % (records, common)
        for name, data in self.user.items():
            assert data is None or read(os.path.join(self.target, name)) == data, "the user's %s was lost" % name

    def teardown(self):
        if hasattr(self, "root"):
            if not self.here():
                os.rename(self.away, self.target)
            self.recovering_start()
            shutil.rmtree(self.root, ignore_errors=True)


Engine.TestCase.settings = settings(max_examples=int(os.environ.get("QORN_MODEL_EXAMPLES", "25")),
                                    stateful_step_count=8, deadline=None, suppress_health_check=list(HealthCheck))
TestEngine = Engine.TestCase

if __name__ == "__main__":
    import unittest
    unittest.main()
