"""The C interface through Python's ctypes: zyl_c_test.py LIBRARY."""
import ctypes
import sys

lib = ctypes.CDLL(sys.argv[1])
names = """zyl_trim zyl_trim_left zyl_trim_right zyl_pad zyl_extract_file_name
    zyl_extract_file_path zyl_short_path_name zyl_window_title zyl_debug zyl_send_debug_msg
    zyl_show_msg zyl_show_error zyl_log_name zyl_set_log_name""".split()
for name in names:
    getattr(lib, name)  # AttributeError unless exported under its plain name
text = [ctypes.c_char_p, ctypes.c_size_t]
for name in names[:7]:
    getattr(lib, name).argtypes, getattr(lib, name).restype = text + text, ctypes.c_size_t
lib.zyl_pad.argtypes = text + [ctypes.c_char, ctypes.c_int, ctypes.c_int] + text
lib.zyl_window_title.argtypes = [ctypes.c_void_p] + text
lib.zyl_window_title.restype = ctypes.c_size_t
lib.zyl_log_name.restype = ctypes.c_char_p
NUL_TERMINATED = ctypes.c_size_t(-1).value


def call(name, *args):
    """The whole result, asked for as the header says: the length first, then the bytes."""
    function = getattr(lib, name)
    length = function(*args, None, 0)
    out = ctypes.create_string_buffer(b"#" * (length + 2), length + 2)
    assert function(*args, out, length + 1) == length and out.raw[length + 1:] == b"#"
    return out.raw[:length]


cases = [
    (call("zyl_trim", b" \0a\0b \r\n", 8), b"a\0b"),
    (call("zyl_trim", b"  a\0b  ", NUL_TERMINATED), b"a"),
    (call("zyl_trim", None, 5), b""),
    (call("zyl_trim_left", b"\t x ", 4), b"x "),
    (call("zyl_trim_right", b"\t x ", 4), b"\t x"),
    (call("zyl_pad", b"42", 2, b"0", 5, 1), b"00042"),
    (call("zyl_extract_file_name", b"C:\\d\\f.txt", NUL_TERMINATED), b"f.txt"),
    (call("zyl_extract_file_path", b"C:\\d\\f.txt", NUL_TERMINATED), b"C:\\d\\"),
    (call("zyl_short_path_name", b".", 1), b"."),
    (call("zyl_window_title", None), b""),
    (lib.zyl_trim(b"  abc", 5, ctypes.create_string_buffer(2), 2), 3),
    (lib.zyl_log_name(), b"C:\\ZYL.LOG"),
]
failed = [case for case in cases if case[0] != case[1]]
for got, want in failed:
    print(f"got {got!r}, want {want!r}", file=sys.stderr)
print(f"{len(failed)} failed")
sys.exit(1 if failed else 0)
