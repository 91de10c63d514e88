#pragma once

#include <pybind11/pybind11.h>

#include <veltrano/veltrano.hpp>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

// A generator as Python sees it: the library's generator, which keeps its
// data set alive by itself, and a lock, since Python threads may share the
// object while the library allows one thread at a time.
class CPythonGenerator {
  public:
    explicit CPythonGenerator(veltrano::Generator generator) : m_generator(std::move(generator)) {}

    // The names `request` asks for, as str (bytes when `raw`). Makes them
    // with the GIL released, and with the lock held, taken only once the GIL
    // is released: a thread waiting for the lock never holds the GIL that
    // the running one needs to finish. Raises veltrano.Error for a refusal,
    // with the names made before a give-up.
    pybind11::list Names(const veltrano::Request& request, bool raw);

  private:
    veltrano::Generator m_generator;
    std::mutex m_busy;
    // The thread that holds m_busy. A long run takes the GIL now and then to
    // let Python's signal handlers run; one of them that asks the same
    // generator for names would otherwise wait for itself for ever.
    std::atomic<std::thread::id> m_runner;
};

void AddGeneratorType(pybind11::module_& module);
