from veltrano._veltrano import Error as Error
from veltrano._veltrano import Finding as Finding
from veltrano._veltrano import Stats as Stats
from veltrano._veltrano import __version__ as __version__
from veltrano._veltrano import check as check
from veltrano._veltrano import open as open

__all__ = ["open", "check", "Finding", "Stats", "Error"]
