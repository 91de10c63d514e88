#pragma once

#include <pybind11/pybind11.h>

#include <veltrano/veltrano.hpp>

#include <memory>
#include <utility>

#include "PythonGenerator.h"

// A loaded data set as Python sees it. Copies of the library's Data share
// the same data, and every generator keeps it alive, so `del daten` while a
// generator lives takes nothing from under it.
class CPythonData {
  public:
    // The data an init file names (str, bytes or os.PathLike), or the user's
    // settings' data for None. Raises veltrano.Error for data that cannot be
    // loaded.
    static CPythonData Open(const pybind11::handle& initFile);

    pybind11::list Cultures(bool raw) const;
    pybind11::list NameTypes(const pybind11::handle& culture, bool raw) const;
    std::unique_ptr<CPythonGenerator> Generator(const pybind11::handle& seed) const;
    const veltrano::Data& Data() const { return m_data; }

  private:
    explicit CPythonData(veltrano::Data data) : m_data(std::move(data)) {}
    veltrano::Data m_data;
};

void AddDataType(pybind11::module_& module);
