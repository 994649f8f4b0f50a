"""The package as its users get it. zizuduz_test.py installed BUILD CMAKE FOLDER: installed to a new
prefix, called from an environment that holds PYTHONPATH alone, naming the package's FOLDER.
zizuduz_test.py wheel BUILD SOURCE: built offline into a wheel, installed into a new venv."""
import gc
import os
import subprocess
import sys
import tempfile


def calls(folder):
    import zizuduz as z
    os.environ["DEBUG"] = "on"
    cases = [
        (z.trim(" \0a\0b \r\n"), "a\0b"), (z.trim(b" \0a\0b \r\n"), b"a\0b"),
        (z.trim_left("\t \u00e9 "), "\u00e9 "), (z.trim_right(b"\t x "), b"\t x"),
        (z.trim(" \udcff "), "\udcff"),  # undecodable bytes come back as they went in
        (z.pad("42", 5, "0", left=True), "00042"), (z.pad(b"ab", 4), b"ab  "),
        (z.pad("\u00e9", 3, b"."), "\u00e9."), (z.pad("\u00e9", 3, encoding="latin-1"), "\u00e9  "),
        (z.extract_file_name("C:\\d\\f.txt"), "f.txt"),
        (z.extract_file_path(b"C:\\d\\f"), b"C:\\d\\"),
        (z.short_path_name("."), "."), (z.window_title(), ""), (z.window_title(encoding=None), b""),
        (z.debug(), True), (z.log_name(), "C:\\ZYL.LOG"), (z.log_name(None), b"C:\\ZYL.LOG"),
    ]
    wrong = [lambda: z.trim(None), lambda: z.trim_left(1), lambda: z.pad("a", "3"),
             lambda: z.pad("a", 3, None), lambda: z.show_msg(None), lambda: z.show_error("a", None),
             lambda: z.send_debug_msg(None), lambda: z.set_log_name(1), lambda: z.window_title("1"),
             lambda: z.extract_file_name(bytearray(b"a"))]
    for i, call in enumerate(wrong):
        try:
            call()
            cases.append((f"wrong call {i} accepted", "TypeError"))
        except TypeError:
            pass
    # A name passed as a temporary str stays the log's name once that str's memory is reused.
    mine = os.path.join(folder, "mine.log")
    z.set_log_name(mine)
    gc.collect()
    reuse = [os.path.join(folder, f"other{i:02}.log").encode() for i in range(1000)]
    z.send_debug_msg("kept")
    z.set_log_name(None)
    z.send_debug_msg("off")
    cases += [(os.listdir(folder), ["mine.log"]), (z.log_name(), None)]
    if os.path.exists(mine):
        with open(mine, encoding="utf-8") as log:
            cases.append((log.read().endswith("kept\n"), bool(reuse)))
    failed = [case for case in cases if case[0] != case[1]]
    for got, want in failed:
        print(f"got {got!r}, want {want!r}", file=sys.stderr)
    print(f"{len(cases)} cases, {len(failed)} failed from {z.__file__}")
    return 1 if failed else 0


def main(mode, build, *rest):
    clean = {}
    with tempfile.TemporaryDirectory() as folder:
        if mode == "installed":  # rest: the package's folder under the prefix
            subprocess.run([rest[0], "--install", build, "--prefix", folder], check=True,
                           stdout=subprocess.DEVNULL)
            python = [sys.executable]
            clean["PYTHONPATH"] = os.path.join(folder, rest[1])
            named = subprocess.run(python + ["-c", "import zizuduz"], capture_output=True,
                                   env=dict(clean, ZIZUDUZ_LIBRARY="/nowhere.so"), text=True)
            if "ImportError: zizuduz cannot load /nowhere.so" not in named.stderr:
                return f"ZIZUDUZ_LIBRARY was not obeyed: {named.stderr}"
        else:  # rest: the source tree
            pip = [sys.executable, "-m", "pip"]
            subprocess.run(pip + ["wheel", "--no-build-isolation", "--no-deps", "--no-index",
                                  "-w", folder, os.path.join(rest[0], "python")], check=True,
                           env=dict(os.environ, ZIZUDUZ_BUILD_DIR=build))
            subprocess.run([sys.executable, "-m", "venv", "--without-pip", folder + "/venv"],
                           check=True)
            wheel = [os.path.join(folder, w) for w in os.listdir(folder) if w.endswith(".whl")]
            subprocess.run(pip + ["--python", folder + "/venv/bin/python", "install",
                                  "--no-index"] + wheel, check=True)
            python = [folder + "/venv/bin/python"]
        os.mkdir(folder + "/logs")
        return subprocess.run(python + [__file__, "calls", folder + "/logs"], env=clean,
                              cwd=folder).returncode


sys.exit(calls(sys.argv[2]) if sys.argv[1] == "calls" else main(*sys.argv[1:]))
