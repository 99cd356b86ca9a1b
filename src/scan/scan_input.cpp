#include "scan/scan_input.h"

#include <cstdio>

#include "io/platform.h"

ScanInput::~ScanInput() {
    closeScanFile(scan);
    if (descriptor >= 0) {
        closeFile(descriptor);
    }
}

InputOpening openScanInput(ScanInput& input, const std::string& name, std::size_t blockSize) {
    closeScanFile(input.scan);
    if (input.descriptor >= 0) {
        closeFile(input.descriptor);
        input.descriptor = -1;
    }
    input.standardInput = name == "-";
    DataFileKind kind = DataFileKind::plain;
    if (input.standardInput) {
        kind = standardInputKind();
    } else {
        input.descriptor = openPlainFile(name, kind);
    }
    if (kind != DataFileKind::plain) {
        return kind == DataFileKind::missing      ? InputOpening::missing
               : kind == DataFileKind::unreadable ? InputOpening::unreadable
                                                  : InputOpening::notPlain;
    }
    if (input.standardInput) {
        openScanStream(input.scan, stdin, blockSize);
    } else {
        openScanFile(input.scan, input.descriptor, blockSize);
    }
    return InputOpening::opened;
}

bool inputIsFile(const ScanInput& input, const std::string& name, const std::string& other) {
    constexpr int standardInputDescriptor = 0;
    return isSameFile(input.standardInput ? standardInputDescriptor : input.descriptor, name,
                      other);
}
