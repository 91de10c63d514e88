"""Veltrano für Python: Zufallsnamen aus eigenen Silbenlisten.

Dieselben Daten, dieselben Seeds und dieselben Meldungen wie veltrano-cli,
in der Geschwindigkeit des C++-Kerns:

    import veltrano

    daten = veltrano.open()                  # die Daten der Einstellungen
    daten = veltrano.open("init.txt")        # oder die einer Init-Datei
    daten.cultures()                         # ["Bergzwerge", ...]
    daten.name_types("Waldelben")            # ["Hausname", ...]
    gen = daten.generator(seed=42)           # wie veltrano-cli --seed 42
    gen.names("Waldelben", "Vorname weiblich", 5)
    gen.names("Fjordvolk", "Ortsname", 300, unique=True, starts_with="St")
    gen.names("Orks", "Ortsname", 10, avoid=["Grakmor"])   # ohne diesen Namen
    for befund in veltrano.check("init.txt"):    # wie veltrano-cli --check
        print(befund)
    for zeile in daten.stats("Waldelben"):       # wie veltrano-cli --stats
        print(zeile.name_type, zeile.names)

open() gibt ein Data-Objekt (cultures, name_types, generator, stats), dessen
generator() einen Generator (names); help(veltrano.open) und
help(veltrano.open().generator()) erklären sie. Namen kommen als str, wie
das Programm sie zeigt (UTF-8, sonst Windows-1252), mit raw=True als die
Bytes der Daten. Jede Ablehnung ist ein veltrano.Error mit der deutschen
Meldung von veltrano-cli; falsche Argumenttypen und -bereiche lösen
TypeError und ValueError aus.
"""

from veltrano._veltrano import Error, Finding, Stats, __version__, check, open

__all__ = ["open", "check", "Finding", "Stats", "Error"]
