#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The file-reader seeds start from the files a first start of the program writes
(pass its data folder) and add damaged variants of them: cut short, lines dropped
or doubled, values out of range, a wrong byte-order mark. The report seeds are
built here byte by byte. The output depends only on the inputs and a fixed seed,
so running it again gives the same corpus.

Usage: fuzz/write_corpora.py FIRST_START_DATA_DIR
"""
import os
import random
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")
rng = random.Random(20261209)


def write(target, name, data):
    folder = os.path.join(OUT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(bytes(data))


def utf16(lines):
    return b"\xff\xfe" + "".join(line + "\n" for line in lines).encode("utf-16-le")


def lines_of(path):
    with open(path, "rb") as f:
        data = f.read()
    return data[2:].decode("utf-16-le", errors="replace").split("\n")[:-1]


def text_variants(target, lines, count):
    """The file itself and `count` damaged copies of it."""
    write(target, "00-as-written", utf16(lines))
    for i in range(count):
        damaged = list(lines)
        kind = i % 8
        at = rng.randrange(len(damaged)) if damaged else 0
        if kind == 0 and damaged:
            damaged = damaged[:at]                        # cut after a line
        elif kind == 1 and damaged:
            del damaged[at]                                 # one line missing
        elif kind == 2 and damaged:
            damaged.insert(at, damaged[at])                 # one line twice
        elif kind == 3 and damaged:
            key = damaged[at].split("=", 1)[0]
            damaged[at] = key + "=" + rng.choice(["-1", "99999999999", "", "x", "0x7fffffff", "=", "\u4e2d"])
        elif kind == 4 and damaged:
            damaged[at] = damaged[at][: rng.randrange(len(damaged[at]) + 1)]
        elif kind == 5 and damaged:
            damaged[at] = damaged[at] + ";" * rng.randrange(1, 5)
        elif kind == 6:
            data = utf16(damaged)
            write(target, "%02d-bytes-cut" % (i + 1), data[: rng.randrange(len(data) + 1)])
            continue
        else:
            data = bytearray(utf16(damaged))
            for _ in range(4):
                data[rng.randrange(len(data))] = rng.randrange(256)
            write(target, "%02d-bytes-flipped" % (i + 1), data)
            continue
        write(target, "%02d-lines" % (i + 1), utf16(damaged))
    write(target, "90-empty", b"")
    write(target, "91-mark-only", b"\xff\xfe")
    write(target, "92-odd-length", b"\xff\xfe=\x00\n")


def macro_library_seed():
    events = "4100000041800000" + "0" * 1984
    return [
        "[MacroLibrary]",
        "MacroKeyIndex=3",
        "Select Locaton:stage=-1;stage0Index=0;stage1Index=0;stage2Index=0;",
        "++++++++MacroItemName=f",
        "MacroItemLocation:stage=0;stage0Index=0;stage1Index=0;stage2Index=0;",
        "MacroItemIsFolder=1",
        "MacroItemFolderIsOpen=1",
        "\t++++++++MacroItemName=m",
        "\tMacroItemLocation:stage=1;stage0Index=0;stage1Index=0;stage2Index=0;",
        "\tMacroItemIsFolder=0",
        "\tMacroItemFolderIsOpen=0",
        "\tMacroKeyIndex=2",
        "\tMacroKeyLoopType=2",
        "\tMacroKeyLoopNum=1",
        "\tMacroActionNum=2",
        "\tMacroCommandActionNum=2",
        "\tAllAction=" + events,
    ]


def status_reports():
    rates = [0x08, 0x04, 0x02, 0x01, 0x11, 0x12, 0x14, 0x00, 0xFF]
    for i in range(30):
        report = [0] * 32
        report[0] = 4
        report[1] = i % 2
        report[2] = i % 9
        report[3] = rates[i % len(rates)]
        report[4] = rng.choice([0, 50, 100, 101, 255])
        report[5] = i % 4
        report[6] = i % 5
        report[7] = i % 8
        write("fuzz_status_report", "%02d-status" % i, report)
    write("fuzz_status_report", "40-short", [4, 1, 2, 3, 80, 0, 1])
    write("fuzz_status_report", "41-eight", [4, 1, 2, 3, 80, 0, 1, 0])
    write("fuzz_status_report", "42-other-id", [5] + [0] * 31)
    write("fuzz_status_report", "43-long", [4, 1, 3, 8, 90, 1, 2, 0] + [0xAA] * 56)
    write("fuzz_status_report", "44-empty", [])


def device_info_answers():
    # Byte 0: the connection kind; then chunks: a length byte and that many
    # answer bytes, 0xFF for a failed read.
    for kind in range(3):
        for online in (0, 1, 2):
            for rate in (1, 4, 8, 0, 0xFF):
                answer = [0xFF] * 32
                answer[0] = 5
                answer[5] = online
                answer[6] = rate
                write("fuzz_device_info", "k%d-on%d-rate%d" % (kind, online, rate), [kind, 32] + answer)
        write("fuzz_device_info", "k%d-failed" % kind, [kind, 0xFF])
        write("fuzz_device_info", "k%d-short" % kind, [kind, 6, 5, 0, 0, 0, 0, 1])
        write("fuzz_device_info", "k%d-wrong-id" % kind, [kind, 32, 6] + [1] * 31)
    write("fuzz_device_info", "raw-answer", [5, 0xFF, 0xFF, 0xFF, 0xFF, 1, 8])
    write("fuzz_device_info", "empty", [])


def acknowledgements():
    # Byte 0: the connection kind, byte 1: command and first sequence number;
    # then one chunk per acknowledgement read, as for the device information.
    def ack(command):
        report = [0] * 32
        report[0] = 6
        report[1] = command
        return [32] + report

    nack = [32, 6] + [0] * 31
    for kind in range(3):
        for command in (0x01, 0x06, 0x10, 0x11, 0xFF):
            write("fuzz_acknowledgement", "k%d-c%02x-first" % (kind, command), [kind, command] + ack(command))
            write("fuzz_acknowledgement", "k%d-c%02x-never" % (kind, command), [kind, command] + nack * 4)
        write("fuzz_acknowledgement", "k%d-third" % kind, [kind, 2] + nack * 2 + ack(2))
        write("fuzz_acknowledgement", "k%d-failed-reads" % kind, [kind, 3, 0xFF, 0xFF, 0xFF] + ack(3))
        write("fuzz_acknowledgement", "k%d-short" % kind, [kind, 4, 1, 6, 2, 6, 1])
        write("fuzz_acknowledgement", "k%d-wraps" % kind, [kind, 0xFE] + nack * 4)
    write("fuzz_acknowledgement", "nothing-answers", [0, 1])


def report_descriptors():
    mouse = [0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03,
             0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01,
             0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06,
             0xC0, 0xC0]
    status = [0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
              0x95, 0x1F, 0x09, 0x02, 0x81, 0x02, 0xC0]
    feature = [0x05, 0x0A, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x75, 0x08, 0x95, 0x1F, 0x09, 0x01, 0xB1, 0x02,
               0x85, 0x05, 0x95, 0x1F, 0x09, 0x02, 0xB1, 0x02, 0xC0]
    keyboard = [0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
                0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05,
                0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01,
                0xC0]
    consumer = [0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A,
                0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0]
    push_pop = [0x05, 0x0A, 0x09, 0x01, 0xA1, 0x01, 0xA4, 0x75, 0x08, 0x95, 0x1F, 0xB1, 0x02, 0xB4, 0x95, 0x02,
                0x81, 0x02, 0xC0]
    long_item = [0xFE, 0x03, 0x10, 0x01, 0x02, 0x03] + status
    big_count = [0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0x00, 0x00, 0x97, 0xFF, 0xFF, 0x00,
                 0x00, 0x81, 0x02, 0xC0]
    seeds = {
        "mouse": mouse, "status": status, "feature": feature, "keyboard": keyboard, "consumer": consumer,
        "status-and-feature": status + feature, "all": mouse + keyboard + consumer + status + feature,
        "push-pop": push_pop, "long-item": long_item, "big-count": big_count,
        "unclosed": [0x05, 0x0A, 0x09, 0x01, 0xA1, 0x01, 0xA1, 0x02, 0x75, 0x08, 0x95, 0x04, 0xB1, 0x02],
        "stray-end": [0xC0, 0xC0] + feature, "nested": [0x05, 0x01, 0xA1, 0x01] * 8 + [0xC0] * 8,
        "empty": [],
    }
    for name, data in seeds.items():
        write("fuzz_report_descriptor", name, data)
    base = status + feature
    for i in range(16):
        data = list(base)
        if i % 2:
            data = data[: rng.randrange(len(data))]
        else:
            data[rng.randrange(len(data))] = rng.randrange(256)
        write("fuzz_report_descriptor", "damaged-%02d" % i, data)


def app_profiles():
    """Automatic-profile rules as the dialog saves them, and damaged copies."""
    global rng
    saved, rng = rng, random.Random(20261210)
    lines = ["[AppProfiles]", "Paused=0", "Slot1=C:\\Games\\Shooter\\shooter.exe", "Slot3=/usr/bin/blender",
             "Slot5=steam", "Slot2=Photo Editor.exe", "Slot4=/opt/\u4e2d\u6587/tool"]
    text_variants("fuzz_app_profiles", lines, 24)
    write("fuzz_app_profiles", "93-paused-only", utf16(["[AppProfiles]", "Paused=1"]))
    write("fuzz_app_profiles", "94-no-header", utf16(["Paused=1", "Slot1=a.exe"]))
    write("fuzz_app_profiles", "95-odd-keys",
          utf16(["[AppProfiles]", "Slot0=a", "Slot6=b", "Slot=c", "Slot11=d", "slot1=e", "Slot1=", "Slot1=f\r",
                 "Slot2=g", "Slot3=g", "Paused=2", "Paused=1", "Paused=0", "=h"]))
    rng = saved


def control_requests():
    """zavrinctl's request lines to the running program, one request a line."""
    def line(command, *operands, schema=1):
        return '{"schema": %s, "command": %s, "operands": [%s]}' % (
            schema, '"%s"' % command, ", ".join('"%s"' % o for o in operands))

    seeds = {
        "get": [line("get"), line("get", "dpi.levels"), line("get", "rate"), line("get", "button.6")],
        "set": [line("set", "rate", "500"), line("set", "dpi.levels", "400,800,1600"), line("set", "dpi.current", "2"),
                line("set", "lighting.effect", "breathing"), line("set", "button.4", "middle"),
                line("set", "angle-snap", "on"), line("set", "debounce", "4ms"), line("get", "rate")],
        "set-refused": [line("set", "rate", "3"), line("set", "dpi.current", "-1"), line("set", "nothing", "1"),
                        line("set"), line("set", "rate"), line("set", "sleep", "99999999999999999999")],
        "keys": [line("keys"), line("keys", "1")],
        "profile": [line("profile", "list"), line("profile", "use", "2"), line("profile", "use", "9"),
                    line("profile", "export", "1", "x.psf"), line("profile", "import", "1", "x.psf"),
                    line("profile")],
        "reset": [line("reset"), line("reset", "now")],
        "unknown": [line("list"), line("info"), line("watch"), line("apply"), line("")],
        "schemas": [line("get", schema=2), line("get", schema=0), line("get", schema='"1"'),
                    line("get", schema="null"), line("get", schema="1.5"), line("get", schema="[1]")],
        "shapes": ['{"schema": 1, "command": "get"}', '{"schema": 1, "operands": []}',
                   '{"schema": 1, "command": 5, "operands": []}', '{"schema": 1, "command": "get", "operands": "dpi"}',
                   '{"schema": 1, "command": "set", "operands": ["rate", 500]}', '[]', '"get"', 'null', '{', '',
                   '{"schema": 1, "command": "get", "operands": [], "command": "set"}'],
        "bytes": ['{"schema": 1, "command": "set", "operands": ["name", "\\u00ff\\ud800"]}',
                  '{"schema": 1, "command": "profile", "operands": ["use", "1\\u0000"]}'],
    }
    for name, lines in seeds.items():
        write("fuzz_control_requests", name, ("\n".join(lines) + "\n").encode("utf-8"))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    config = os.path.join(sys.argv[1], "config")
    for target in os.listdir(OUT) if os.path.isdir(OUT) else []:
        shutil.rmtree(os.path.join(OUT, target))
    text_variants("fuzz_config_ini", lines_of(os.path.join(config, "config.ini")), 32)
    text_variants("fuzz_profile_file", lines_of(os.path.join(config, "default0.psf")), 32)
    language = lines_of(os.path.join(config, "Lan_EN.txt"))
    # The full language file is large; the seeds keep a slice of it so each stays small.
    text_variants("fuzz_language_file", language[:60], 24)
    text_variants("fuzz_macro_library", macro_library_seed(), 32)
    status_reports()
    device_info_answers()
    acknowledgements()
    report_descriptors()
    app_profiles()
    control_requests()


if __name__ == "__main__":
    main()
