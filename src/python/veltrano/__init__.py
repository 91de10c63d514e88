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
    for befund in veltrano.check("init.txt"):    # wie veltrano-cli --check
        print(befund)

open() gibt ein Data-Objekt (cultures, name_types, generator), dessen
generator() einen Generator (names); help(veltrano.open) und
help(veltrano.open().generator()) erklären sie. Namen kommen als str, wie
das Programm sie zeigt (UTF-8, sonst Windows-1252), mit raw=True als die
Bytes der Daten. Jede Ablehnung ist ein veltrano.Error mit der deutschen
Meldung von veltrano-cli; falsche Argumenttypen und -bereiche lösen
TypeError und ValueError aus.
"""

from veltrano._veltrano import Error, Finding, __version__, check, open

__all__ = ["open", "check", "Finding", "Error"]
