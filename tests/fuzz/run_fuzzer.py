#!/usr/bin/env python3
"""Builds the model loader's fuzz target with clang in a build folder of its own,
replays the kept inputs, fuzzes for a bounded time and sorts what it found.

    run_fuzzer.py BUILD_DIR SEED_FOLDER SECONDS [COMPILER_LAUNCHER [CMAKE_OPTION...]]

The CMake options (warnings as errors, as the game's build has them) go to the
fuzz target's configuration.

The seeds are the game's generated models. A crash, abort, leak, hang or runaway
allocation is classified by the first frame of its report that lies in Assimp or in the
project's own source: in Assimp it is Assimp's parser (reported, since the game's
import guard keeps it out of the game); in ours, the run fails. So does any kept input in
ours/ (crashes of our code once found and mended) that crashes again.
"""
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
SOURCE_FRAME = re.compile(r" (/\S+\.(?:cpp|h)):\d+")
FRAME = re.compile(r"^\s*#\d+ 0x[0-9a-f]+ ")
LIMITS = ["-timeout=20", "-rss_limit_mb=2048", "-malloc_limit_mb=2048"]


def build(build_dir, launcher, options):
    configure = ["cmake", "-S", str(HERE / "fuzzer"), "-B", str(build_dir),
                 "-DCMAKE_CXX_COMPILER=clang++", *options]
    if launcher:
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=" + launcher)
    subprocess.run(configure, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build_dir), "-j2"], check=True)
    return build_dir / "vexa_model_fuzzer"


def report(fuzzer, case):
    """The sanitizer's report on one input, with whole stacks even through Assimp."""
    env = dict(os.environ, ASAN_OPTIONS="fast_unwind_on_malloc=0:detect_leaks=1")
    run = subprocess.run([str(fuzzer), *LIMITS, str(case)], env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, errors="replace", timeout=300)
    return run.returncode, run.stdout


def blame(text):
    """'ours' when the first frame that is Assimp's or the project's own source is
    the project's, 'assimp' when it is Assimp's, 'unknown' when the report names
    neither (the sanitizers', libFuzzer's and the runtime's frames are passed by)."""
    for line in text.splitlines():
        if not FRAME.match(line):
            continue
        if "libassimp" in line:
            return "assimp"
        source = SOURCE_FRAME.search(line)
        if source and os.path.normpath(source.group(1)).startswith(
                (str(ROOT / "src") + "/", str(ROOT / "tests") + "/")):
            return "ours"
    return "unknown"


def summary(text):
    """The report's headline and the first frames, as a bug report quotes them."""
    lines = text.splitlines()
    head = [l for l in lines if "ERROR:" in l or "ai_assert" in l or "runtime error" in l or
            "model data the game cannot use" in l][:2]
    frames = [l.strip() for l in lines if FRAME.match(l)][:6]
    return "\n    ".join(head + frames)


def main():
    build_dir, seeds, seconds = Path(sys.argv[1]).resolve(), Path(sys.argv[2]), int(sys.argv[3])
    launcher = sys.argv[4] if len(sys.argv) > 4 else ""
    fuzzer = build(build_dir, launcher, sys.argv[5:])

    failed = False
    for kept in sorted((HERE / "ours").glob("*")):
        status, text = report(fuzzer, kept)
        if status != 0:
            print(f"kept input {kept.name} crashes our code again:\n    {summary(text)}")
            failed = True

    corpus, artifacts = build_dir / "corpus", build_dir / "artifacts"
    corpus.mkdir(exist_ok=True)
    shutil.rmtree(artifacts, ignore_errors=True)
    artifacts.mkdir()
    for seed in seeds.glob("*.dae"):
        shutil.copy(seed, corpus / seed.name)
    run = subprocess.run([str(fuzzer), "-fork=1", "-ignore_crashes=1", "-ignore_ooms=1",
                          "-ignore_timeouts=1", f"-max_total_time={seconds}", *LIMITS,
                          f"-artifact_prefix={artifacts}/", str(corpus)],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         errors="replace")
    executions = re.findall(r"#(\d+): cov:|#(\d+)\s+DONE", run.stdout)
    total = max((int(a or b) for a, b in executions), default=0)
    print(f"{total} executions in {seconds} s, corpus of {len(list(corpus.iterdir()))} inputs")

    found = {"assimp": [], "ours": [], "unknown": []}
    for case in sorted(artifacts.iterdir()):
        status, text = report(fuzzer, case)
        found[blame(text) if status != 0 else "unknown"].append((case, text, status))
    for kind, cases in found.items():
        print(f"{len(cases)} found in {'Assimp' if kind == 'assimp' else kind + ' code'}")
        for case, text, status in cases:
            print(f"  {case.name} ({case.stat().st_size} bytes, status {status}):\n    "
                  f"{summary(text)}")
    if found["ours"]:
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
