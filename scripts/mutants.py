#!/usr/bin/env python3
"""Measures what the tests catch: applies a fixed, seeded sample of single
mutations to the game's code, rebuilds, runs the test programs that the
change reaches, and prints which mutants the tests killed.

The mutants are made in a scratch git worktree of the given commit (default
HEAD), never in the tree it is started from. Each mutant is one of:
  flip    a comparison flipped (<, <=, >, >=, ==, !=)
  const   an integer constant changed by one
  drop    a statement dropped
  negate  an if/while condition negated
Only .cpp files are mutated: a header change rebuilds most of the tree. The
sample is keyed on each candidate's file, line text and change (hashed with the
seed), not on line numbers, so it stays the same when unrelated code moves and
two runs of different commits compare. A mutant that does not compile is
replaced by the next candidate of the same folder, so the sample always holds
--count mutants that built.

Per mutant only the reached test programs are built and run, the folder's own
program first, then the others fastest first; each is linked just before it
runs, so a mutant killed by the first costs one compile and one link.

  scripts/mutants.py [--count 64] [--seed 19] [--commit main] [--out FILE]
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import time

FOLDERS = ["game", "graphics", "persist", "platform/core", "sound", "screens", "widgets"]
PRESET = "release"
TEST_TIMEOUT_S = 600
# Programs that run the built game itself, so a change to it reaches them
# without relinking them.
PROGRAM_TESTS = ["tests/e2e/e2e_screens_tests"]

COMPARISONS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
COMPARISON = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
STATEMENT = re.compile(
    r"^(\s{4,})(?!return\b|break\b|continue\b|case\b|default\b|using\b|static\b|const\b|constexpr\b|auto\b|"
    r"if\b|for\b|while\b|else\b|do\b|delete\b)"
    r"[A-Za-z_][\w.:\[\]>*&-]*(\(.*\)|\s*[-+|&*/]?=\s.*|\+\+|--);\s*$")
CONDITION = re.compile(r"\b(if|while) \(")


def code_part(line):
    """The line without a trailing // comment, or None for lines that are not
    code worth mutating."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("//", "#", "*", "/*", "static_assert", "namespace", "template")):
        return None
    cut = line.find("//")
    return line if cut < 0 else line[:cut]


def closing_paren(text, start):
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def candidates(path, lines):
    """Every single mutation of the file: (path, line index, kind, new line)."""
    out = []
    for n, line in enumerate(lines):
        code = code_part(line)
        if code is None or '"' in code:
            continue
        for m in COMPARISON.finditer(code):
            new = line[:m.start()] + COMPARISONS[m.group(1)] + line[m.end():]
            out.append((path, n, "flip", new))
        pure_virtual = re.search(r"\)\s*(const\s*)?= 0;", code)
        if "[" not in code and not pure_virtual and not code.lstrip().startswith(("case ", "enum")):
            for m in INTEGER.finditer(code):
                new = line[:m.start()] + str(int(m.group(1)) + 1) + line[m.end():]
                out.append((path, n, "const", new))
        if STATEMENT.match(code) and not line.rstrip().endswith("{"):
            out.append((path, n, "drop", re.match(r"\s*", line).group(0) + "// (dropped)\n"))
        for m in CONDITION.finditer(code):
            open_at = m.end() - 1
            close_at = closing_paren(line, open_at)
            if close_at > 0:
                inner = line[open_at + 1:close_at]
                new = line[:open_at + 1] + "!(" + inner + ")" + line[close_at:]
                out.append((path, n, "negate", new))
    return out


def sample_key(seed, path, lines, candidate, seen):
    """The candidate's place in the sample: a hash of the seed, the file, the
    line's text and the change (and which repeat of that text it is), so moving
    or editing other lines leaves it where it was."""
    _, n, kind, new = candidate
    text = (path, kind, lines[n].strip(), new.strip())
    seen[text] = seen.get(text, 0) + 1
    return hashlib.sha256(repr((seed,) + text + (seen[text],)).encode()).hexdigest()


def sample(tree, seed):
    """Each folder's candidates in the order of their sample key; the caller
    takes from the folders in turn."""
    queues = []
    for folder in FOLDERS:
        pool = []
        base = os.path.join(tree, folder)
        for name in sorted(os.listdir(base)):
            if not name.endswith(".cpp"):
                continue
            rel = os.path.join(folder, name)
            with open(os.path.join(tree, rel)) as f:
                lines = f.readlines()
            seen = {}
            pool += [(sample_key(seed, rel, lines, c, seen), c) for c in candidates(rel, lines)]
        pool.sort(reverse=True)  # popped from the end: smallest key first
        queues.append([c for _, c in pool])
    return queues


def run(cmd, cwd, timeout=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                           timeout=timeout)
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired:
        return None, ""


def test_programs(build):
    """Every GoogleTest program of the build, by path inside it."""
    _, text = run(["ninja", "-t", "targets", "all"], build)
    return sorted(set(re.findall(r"^(tests/\S+_tests): ", text, re.M)))


def reached(build, programs, tree, path, seconds):
    """The test programs that link the source's object (through any
    libraries), or run the game that does; the mutated folder's own program
    first, then fastest first. Read from the build graph, not from what ninja
    would rebuild, which also counts programs left stale by earlier mutants."""
    seen, frontier, hit = set(), [os.path.join(tree, path)], set()
    while frontier:
        _, text = run(["ninja", "-t", "query"] + frontier, build)
        frontier = []
        for node in re.findall(r"^outputs:\n((?:    .*\n)*)", text.replace("\n  outputs:", "\noutputs:"), re.M):
            for out in node.split():
                if out in seen:
                    continue
                seen.add(out)
                if out.endswith((".o", ".a")):
                    frontier.append(out)
                elif out in programs:
                    hit.add(out)
                elif out == "app/reedshot":
                    hit.update(p for p in PROGRAM_TESTS if p in programs)
    own = "tests/" + path.split("/")[0] + "/"
    return sorted(hit, key=lambda p: (not p.startswith(own), seconds[p]))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--count", type=int, default=64)
    ap.add_argument("--seed", type=int, default=19)
    ap.add_argument("--commit", default="HEAD")
    ap.add_argument("--scratch", default=None, help="scratch worktree (default: build/mutants beside the repo)")
    ap.add_argument("--out", default=None, help="also write the report here")
    args = ap.parse_args()

    repo = subprocess.check_output(["git", "rev-parse", "--show-toplevel"], text=True).strip()
    commit = subprocess.check_output(["git", "rev-parse", args.commit], cwd=repo, text=True).strip()
    scratch = os.path.abspath(args.scratch or os.path.join(repo, "build", "mutants"))
    if not os.path.isdir(scratch):
        subprocess.check_call(["git", "worktree", "add", "--detach", scratch, commit], cwd=repo)
    subprocess.check_call(["git", "checkout", "-q", "--detach", "--force", commit], cwd=scratch)
    subprocess.check_call(["git", "clean", "-qfd", "--exclude=build/"], cwd=scratch)
    build = os.path.join(scratch, "build", PRESET)

    started = time.time()
    print(f"mutants of {commit[:10]} in {scratch}, seed {args.seed}", flush=True)
    code, text = run(["cmake", "--preset", PRESET], scratch)
    if code != 0:
        sys.exit("configure failed:\n" + text)
    programs = test_programs(build)
    code, text = run(["ninja"] + programs + ["app/reedshot"], build)
    if code != 0:
        sys.exit("the unmutated tree does not build:\n" + text[-3000:])
    # A mutant that runs twice as long as the clean tree is taken as hung.
    seconds = {}
    for p in programs:
        t0 = time.time()
        code, _ = run([os.path.join(build, p)], build, TEST_TIMEOUT_S)
        if code != 0:
            sys.exit(f"{p} fails before any mutation")
        seconds[p] = time.time() - t0
    print(f"clean build and tests: {time.time() - started:.0f} s", flush=True)

    queues = sample(scratch, args.seed)
    results = []
    stillborn = 0
    turn = 0
    while len(results) < args.count and any(queues):
        queue = queues[turn % len(queues)]
        turn += 1
        if not queue:
            continue
        path, n, kind, new = queue.pop()
        full = os.path.join(scratch, path)
        with open(full) as f:
            original = f.readlines()
        mutated = list(original)
        mutated[n] = new
        with open(full, "w") as f:
            f.writelines(mutated)
        try:
            hit = reached(build, programs, scratch, path, seconds)
            # Compiling the mutated file alone tells a stillborn mutant cheaply.
            code, _ = run(["ninja", full + "^"], build)
            if code != 0:
                stillborn += 1
                turn -= 1  # the same folder draws again
                continue
            killer = None
            for p in hit:
                needs = [p] + (["app/reedshot"] if p in PROGRAM_TESTS else [])
                if run(["ninja"] + needs, build)[0] != 0:
                    sys.exit(f"{p} does not link with the mutant of {path}:{n + 1}")
                code, _ = run([os.path.join(build, p)], build, 2 * seconds[p] + 5)
                if code != 0:
                    killer = os.path.basename(p) + (" (timeout)" if code is None else "")
                    break
            where = f"{path}:{n + 1}"
            change = f"{original[n].strip()}  ->  {new.strip()}"
            results.append((where, kind, change, killer, hit))
            verdict = f"killed by {killer}" if killer else "SURVIVED" + ("" if hit else " (no test program reaches it)")
            print(f"[{len(results):3d}] {kind:6s} {where:40s} {verdict}", flush=True)
        finally:
            with open(full, "w") as f:
                f.writelines(original)

    killed = sum(1 for r in results if r[3])
    lines = [f"mutants of {commit[:10]}, seed {args.seed}: {len(results)} built ({stillborn} did not compile), "
             f"{killed} killed, {len(results) - killed} survived: kill rate {100.0 * killed / max(1, len(results)):.1f} %",
             f"time: {(time.time() - started) / 60:.1f} min", "survivors:"]
    lines += [f"  {w} [{k}] {c}" for w, k, c, killer, _ in results if not killer]
    lines.append("by folder (killed/built):")
    for folder in FOLDERS:
        mine = [r for r in results if r[0].startswith(folder + "/")]
        lines.append(f"  {folder}: {sum(1 for r in mine if r[3])}/{len(mine)}")
    report = "\n".join(lines)
    print(report)
    if args.out:
        with open(args.out, "w") as f:
            f.write(report + "\n")
    # The scratch tree is left as it was checked out, ready for the next run.
    run(["ninja"] + programs + ["app/reedshot"], build)


if __name__ == "__main__":
    main()
