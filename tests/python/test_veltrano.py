# The Python module through its public names, held against veltrano-cli:
# the same names for a seed, the same messages for every refusal, the same
# findings. CTest passes the built veltrano-cli and the sample data by
# environment, and a scratch XDG_CONFIG_HOME.
import gc
import os
import signal
import subprocess
import threading
import time

import pytest

import veltrano

CLI = os.environ["VELTRANO_CLI"]
SAMPLE_INIT = os.path.join(os.environ["VELTRANO_SAMPLE_DATA"], "init.txt")
INIT = b"languages=languages.txt\nsemantics=semantics.txt\n"

# T makes exactly three names; R makes y once in 2^31 draws, so that two
# unique names give up after x; Leer makes only empty names.
SMALL = {
    "languages.txt": b"[a]\na\nab\n[b]\nbc\nc\n[x]\nx\n[y]\ny\n[e]\n$\n",
    "semantics.txt": b"[V]\np:1:T:a,b\np:2147483647:R:x\nq:1:R:y\nq:1:Leer:e\n",
}
# Loading stops at a fragment before the first list.
BROKEN = {
    "languages.txt": b"ka\n[a]\nx\n",
    "semantics.txt": b"[V]\np:1:T:a\n[]\nq:1:T:a\n",
}
# Windows-1252: the culture W\xe4lder ("Wälder"), one name per name type.
# 0x81, 0x8D, 0x8F, 0x90 and 0x9D are the bytes Python's cp1252 refuses.
CP1252 = {
    "languages.txt": b"[a]\n\x81\x8d\x8f\x90\x9d\n[b]\n\x80\xe4\x9f\n[c]\nGr\xc3\xbc\xc3\x9fe\n",
    "semantics.txt": b"[W\xe4lder]\np:1:a:a\np:1:b:b\np:1:c:c\n",
}


def write(folder, files):
    (folder / "init.txt").write_bytes(INIT)
    for name, data in files.items():
        (folder / name).write_bytes(data)
    return str(folder / "init.txt")


def cli(*args, init=None, env=None):
    """veltrano-cli's output lines and its message, without its prefix."""
    command = [CLI] + (["--init", init] if init else []) + list(args)
    run = subprocess.run(command, capture_output=True, env=env, check=False)
    message = run.stderr.decode(errors="replace").replace("veltrano-cli: ", "").rstrip("\n")
    return run.stdout.decode().splitlines(), message


def cli_flags(count, options):
    flags = ["-n", str(count)]
    for key, value in options.items():
        flags += ["--" + key.replace("_", "-")] + ([] if value is True else [str(value)])
    return flags


@pytest.mark.parametrize(
    "seed, culture, name_type, count, options",
    [
        (42, "Waldelben", "Vorname weiblich", 50, {}),
        (0, "Fjordvolk", "Ortsname", 300, {"unique": True}),
        (4294967295, "Bergzwerge", "Sippenname", 20, {"starts_with": "K"}),
        (7, b"S\xc3\xa4ulenbund", "Ortsname", 10, {"ends_with": "os"}),
        (7, "Fjordvolk", b"Ortsname", 10, {"min_length": 5, "max_length": 8}),
    ],
)
def test_a_seed_gives_the_names_of_veltrano_cli(seed, culture, name_type, count, options):
    names = veltrano.open(SAMPLE_INIT).generator(seed).names(culture, name_type, count, **options)
    arguments = ["--seed", str(seed)] + cli_flags(count, options) + [culture, name_type]
    assert names == cli(*arguments, init=SAMPLE_INIT)[0]


# Where veltrano-cli prints the data's Windows-1252 bytes inside its German
# text, the message shows them as the desktop program does.
@pytest.mark.parametrize(
    "files, arguments, options, made, shown",
    [
        (SMALL, ["Nirgends", "T"], {}, [], None),
        (SMALL, ["V", "Nichts"], {}, [], None),
        (SMALL, ["V", "T"], {"starts_with": "zz"}, [], None),
        (SMALL, ["V", "T", 4], {"unique": True}, [], None),
        (SMALL, ["V", "Leer"], {}, [], None),
        (SMALL, ["V", "R", 2], {"unique": True}, ["x"], None),
        (BROKEN, ["V", "T"], {}, [], None),
        (CP1252, [b"W\xe4lder", "zz"], {}, [],
         "Unbekannter Namenstyp „zz“ in der Kultur „Wälder“. Bekannt sind:\n  a\n  b\n  c"),
    ],
)
def test_every_refusal_raises_the_message_of_veltrano_cli(
    tmp_path, files, arguments, options, made, shown
):
    init = write(tmp_path, files)
    with pytest.raises(veltrano.Error) as refusal:
        veltrano.open(init).generator(1).names(*arguments, **options)
    count = arguments[2] if len(arguments) > 2 else 1
    printed, message = cli("--seed", "1", *cli_flags(count, options), *arguments[:2], init=init)
    assert refusal.value.names == made == printed
    assert str(refusal.value) == (shown or message)


def test_other_refusals_match_veltrano_cli_and_come_before_drawing(tmp_path):
    init = write(tmp_path, SMALL)
    daten = veltrano.open(init)
    with pytest.raises(veltrano.Error) as refusal:
        daten.name_types("Nirgends")
    assert str(refusal.value) == cli("--list", "Nirgends", init=init)[1]
    gen = daten.generator(5)
    with pytest.raises(veltrano.Error, match="reicht der Arbeitsspeicher nicht") as refusal:
        gen.names("V", "T", 2**64 - 1)
    assert refusal.value.names == []
    assert gen.names("V", "T", 20) == daten.generator(5).names("V", "T", 20)
    with pytest.raises(veltrano.Error) as refusal:
        veltrano.check(str(tmp_path / "fehlt.txt"))
    assert str(refusal.value) == cli("--check", init=str(tmp_path / "fehlt.txt"))[1]


@pytest.mark.parametrize(
    "name_type, raw, shown",
    [
        ("a", b"\x81\x8d\x8f\x90\x9d", "\x81\x8d\x8f\x90\x9d"),
        ("b", b"\x80\xe4\x9f", "€äŸ"),
        ("c", b"Gr\xc3\xbc\xc3\x9fe", "Grüße"),
    ],
)
def test_names_come_as_shown_or_raw(tmp_path, name_type, raw, shown):
    daten = veltrano.open(write(tmp_path, CP1252))
    assert daten.cultures() == ["Wälder"] and daten.cultures(raw=True) == [b"W\xe4lder"]
    assert daten.name_types(b"W\xe4lder") == daten.name_types("Wälder") == ["a", "b", "c"]
    gen = daten.generator(1)
    assert gen.names("Wälder", name_type, 2) == [shown, shown]
    assert gen.names(b"W\xe4lder", name_type, raw=True) == [raw]


@pytest.mark.parametrize(
    "call, error",
    [
        (lambda d: veltrano.open(42), TypeError),
        (lambda d: d.generator(-1), ValueError),
        (lambda d: d.generator(2**32), ValueError),
        (lambda d: d.generator("1"), TypeError),
        (lambda d: d.name_types(None), TypeError),
        (lambda d: d.generator(1).names(1, "T"), TypeError),
        (lambda d: d.generator(1).names("V\udcff", "T"), ValueError),
        (lambda d: d.generator(1).names("V", "T", -1), ValueError),
        (lambda d: d.generator(1).names("V", "T", 2**64), ValueError),
        (lambda d: d.generator(1).names("V", "T", 1.0), TypeError),
        (lambda d: d.generator(1).names("V", "T", 3, True), TypeError),
        (lambda d: d.generator(1).names("V", "T", min_length=-1), ValueError),
        (lambda d: d.generator(1).names("V", "T", starts_with=3), TypeError),
    ],
)
def test_wrong_arguments_raise_type_or_value_errors(tmp_path, call, error):
    with pytest.raises(error):
        call(veltrano.open(write(tmp_path, SMALL)))


def test_threads_share_data_and_a_shared_generator_runs_one_at_a_time(tmp_path):
    daten = veltrano.open(SAMPLE_INIT)
    expected = {seed: daten.generator(seed).names("Orks", "Ortsname", 20000) for seed in range(4)}
    made = {}

    def own_generator(seed):
        gen = daten.generator(seed)
        made[seed] = [name for _ in range(4) for name in gen.names("Orks", "Ortsname", 5000)]

    shared = daten.generator(9)
    halves = []
    threads = [threading.Thread(target=own_generator, args=(seed,)) for seed in range(4)]
    threads += [
        threading.Thread(target=lambda: halves.append(shared.names("Orks", "Ortsname", 50000)))
        for _ in range(2)
    ]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert made == expected
    whole = daten.generator(9).names("Orks", "Ortsname", 100000)
    assert sorted(halves) == sorted([whole[:50000], whole[50000:]])

    # A run that draws 10^7 names without keeping them leaves the GIL to
    # this thread all the while.
    gen = veltrano.open(write(tmp_path, SMALL)).generator(1)
    worker = threading.Thread(target=lambda: pytest.raises(veltrano.Error, gen.names, "V", "R", 2,
                                                            unique=True))
    started = last = time.perf_counter()
    longest = 0.0
    worker.start()
    while worker.is_alive():
        now = time.perf_counter()
        longest, last = max(longest, now - last), now
    assert longest < (last - started) / 2


def test_a_signal_handler_asking_the_running_generator_is_refused():
    # A long run lets signal handlers in; waiting for its own lock would hang.
    gen = veltrano.open(SAMPLE_INIT).generator(1)
    refused = []

    def handler(*_):
        try:
            gen.names("Orks", "Ortsname")
        except ValueError:
            refused.append(True)
        else:  # it came between two runs
            signal.setitimer(signal.ITIMER_REAL, 0.001)

    signal.signal(signal.SIGALRM, handler)
    signal.setitimer(signal.ITIMER_REAL, 0.001)
    try:
        while not refused:
            gen.names("Orks", "Ortsname", 10**6)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, signal.SIG_DFL)


def test_a_generator_outlives_its_data(tmp_path):
    daten = veltrano.open(write(tmp_path, SMALL))
    gen = daten.generator(3)
    expected = daten.generator(3).names("V", "T", 10)
    del daten
    gc.collect()
    assert gen.names("V", "T", 10) == expected


def test_check_gives_the_findings_of_veltrano_cli(tmp_path):
    init = write(tmp_path, BROKEN)
    findings = veltrano.check(init)
    assert [str(finding) for finding in findings] == cli("--check", init=init)[0]
    first = findings[0]
    assert (first.file, first.line, first.severity) == (str(tmp_path / "languages.txt"), 1, "Fehler")
    assert first.message.startswith("Fragment vor dem ersten Abschnittskopf")


def test_first_open_makes_the_settings_veltrano_cli_makes(tmp_path, monkeypatch):
    monkeypatch.setenv("XDG_CONFIG_HOME", str(tmp_path / "py"))
    assert "Waldelben" in veltrano.open().cultures()
    assert veltrano.check() == []
    env = dict(os.environ, XDG_CONFIG_HOME=str(tmp_path / "cli"))
    cli("--list", env=env)
    store = "Brannock/Veltrano.conf"
    assert (tmp_path / "py" / store).read_bytes() == (tmp_path / "cli" / store).read_bytes()


def test_stats_give_what_veltrano_cli_stats_shows(tmp_path):
    init = write(tmp_path, SMALL)
    rows = veltrano.open(init).stats()
    lines, _ = cli("--stats", "--tsv", init=init)
    header, *table = (line.split("\t") for line in lines)
    for row, fields in zip(rows, table, strict=True):
        printed = dict(zip(header, fields))
        assert (row.culture, row.name_type) == (printed["culture"], printed["name_type"])
        if printed["only_empty"] == "1":
            assert (row.names, row.longest, row.rarest) == (1, 0, 1.0)
            continue
        assert (row.patterns, row.names, row.shortest, row.longest) == tuple(
            int(printed[key]) for key in ("patterns", "names", "shortest", "longest")
        )
        assert row.repeats_in_99 == float(printed["repeats_in_99"])
        assert row.rarest == float(printed["rarest"])
        assert row.names_exact and row.repeats_exact and row.rarest_exact
    assert [row.name_type for row in veltrano.open(init).stats("V", "R")] == ["R"]


def test_avoid_lists_drop_what_veltrano_cli_drops(tmp_path):
    avoid, containing = ["SHUGDUSH", b"Narbenmauer"], ["fels", "κ"]
    (tmp_path / "a.txt").write_text("\n".join(["Shugdush", "Narbenmauer"]) + "\n")
    (tmp_path / "c.txt").write_text("fels\nκ\n")
    names = veltrano.open(SAMPLE_INIT).generator(1).names(
        "Orks", "Ortsname", 30, unique=True, avoid=avoid, avoid_containing=containing
    )
    files = ["--avoid", str(tmp_path / "a.txt"), "--avoid-containing", str(tmp_path / "c.txt")]
    printed, _ = cli("-s", "1", "-n", "30", "-u", *files, "Orks", "Ortsname", init=SAMPLE_INIT)
    assert names == printed
    assert not any("fels" in name.lower() or name == "Shugdush" for name in names)
