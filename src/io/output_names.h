#pragma once

#include <string>

/// True when the names `first` and `second` denote one file, however each is spelled
/// (x.txt, ./x.txt, an absolute path, sub/../x.txt, a link): by the file's identity where
/// both stand (links followed), else, for names not yet made, by the identity of the folder
/// each leads to and the final name. Two outputs so named would replace one another, and an
/// output so named after the data would replace the data.
bool namesOneFile(const std::string& first, const std::string& second);
