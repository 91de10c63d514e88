import os
from collections.abc import Iterable
from typing import Literal, overload

_Text = str | bytes
_Path = str | bytes | os.PathLike[str] | os.PathLike[bytes]

__version__: str

class Error(Exception):
    """Eine Ablehnung, mit der Meldung von veltrano-cli."""

    names: list[str] | list[bytes]
    """Die Namen, die vor dem Aufgeben entstanden sind, sonst leer."""
    def __init__(self, *args: object, names: Iterable[str | bytes] | None = None) -> None: ...

class Finding:
    """Ein Befund von check(): eine Zeile von veltrano-cli --check."""

    @property
    def file(self) -> str:
        """Die Datei, wie --check sie zeigt."""
    @property
    def line(self) -> int:
        """Die Zeile, von 1 an; 0 für die ganze Datei."""
    @property
    def severity(self) -> Literal["Fehler", "Warnung"]:
        """\"Fehler\" oder \"Warnung\"."""
    @property
    def message(self) -> str:
        """Die Meldung, wie --check sie zeigt."""

class Stats:
    """Was ein Namenstyp machen kann, wie veltrano-cli --stats es zeigt."""

    @property
    def culture(self) -> str: ...
    @property
    def name_type(self) -> str: ...
    @property
    def patterns(self) -> int:
        """Die Muster, die gewählt werden können."""
    @property
    def names(self) -> int | tuple[int, int | None]:
        """Genau als int, sonst (mindestens, höchstens)."""
    @property
    def names_exact(self) -> bool: ...
    @property
    def repeats_in_99(self) -> float:
        """Wiederholungen in einer Liste von 99, im Mittel."""
    @property
    def repeats_exact(self) -> bool: ...
    @property
    def shortest(self) -> int: ...
    @property
    def longest(self) -> int: ...
    @property
    def rarest(self) -> float:
        """Die Wahrscheinlichkeit des seltensten Namens je Versuch."""
    @property
    def rarest_exact(self) -> bool: ...

class Generator:
    """Eine Zufallsfolge und die Namen, die sie macht."""

    @overload
    def names(
        self,
        culture: _Text,
        name_type: _Text,
        count: int = 1,
        *,
        unique: bool = False,
        starts_with: _Text | None = None,
        ends_with: _Text | None = None,
        min_length: int | None = None,
        max_length: int | None = None,
        avoid: Iterable[_Text] | None = None,
        avoid_containing: Iterable[_Text] | None = None,
        raw: Literal[False] = False,
    ) -> list[str]:
        """count Namen, wie das Programm sie zeigt; veltrano.Error bei einer Ablehnung."""
    @overload
    def names(
        self,
        culture: _Text,
        name_type: _Text,
        count: int = 1,
        *,
        unique: bool = False,
        starts_with: _Text | None = None,
        ends_with: _Text | None = None,
        min_length: int | None = None,
        max_length: int | None = None,
        avoid: Iterable[_Text] | None = None,
        avoid_containing: Iterable[_Text] | None = None,
        raw: Literal[True],
    ) -> list[bytes]:
        """count Namen als die Bytes der Daten; veltrano.Error bei einer Ablehnung."""
    @overload
    def names(
        self,
        culture: _Text,
        name_type: _Text,
        count: int = 1,
        *,
        unique: bool = False,
        starts_with: _Text | None = None,
        ends_with: _Text | None = None,
        min_length: int | None = None,
        max_length: int | None = None,
        avoid: Iterable[_Text] | None = None,
        avoid_containing: Iterable[_Text] | None = None,
        raw: bool,
    ) -> list[str] | list[bytes]: ...

class Data:
    """Ein geladener Datensatz; von veltrano.open()."""

    @overload
    def cultures(self, raw: Literal[False] = False) -> list[str]:
        """Die Kulturen, in der Reihenfolge von veltrano-cli --list."""
    @overload
    def cultures(self, raw: Literal[True]) -> list[bytes]: ...
    @overload
    def cultures(self, raw: bool) -> list[str] | list[bytes]: ...
    @overload
    def name_types(self, culture: _Text, raw: Literal[False] = False) -> list[str]:
        """Die Namenstypen einer Kultur; veltrano.Error für eine unbekannte."""
    @overload
    def name_types(self, culture: _Text, raw: Literal[True]) -> list[bytes]: ...
    @overload
    def name_types(self, culture: _Text, raw: bool) -> list[str] | list[bytes]: ...
    def generator(self, seed: int | None = None) -> Generator:
        """Ein Generator; mit seed (0 bis 4294967295) wie veltrano-cli --seed."""
    def stats(self, culture: _Text | None = None, name_type: _Text | None = None) -> list[Stats]:
        """Was veltrano-cli --stats zeigt, eine Zeile je Namenstyp."""

def open(init_file: _Path | None = None) -> Data:
    """Die Daten der Einstellungen des Benutzers, oder die einer Init-Datei."""

def check(init_file: _Path | None = None) -> list[Finding]:
    """Die Befunde von veltrano-cli --check für diese Daten."""
