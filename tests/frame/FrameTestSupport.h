#pragma once

#include "core/MList.h"
#include "core/MListIter.h"
#include "frame/PlotFrame.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

// A setup file in the temporary folder that lives as long as the object.
class TempSetupFile {
public:
    explicit TempSetupFile(const std::string& text) {
        char name[] = "/tmp/demla-frame-XXXXXX";
        const int fd = mkstemp(name);
        close(fd);
        path_ = name;
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~TempSetupFile() { std::remove(path_.c_str()); }
    TempSetupFile(const TempSetupFile&) = delete;
    TempSetupFile& operator=(const TempSetupFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Reads a frame from a file holding the given [PLOT.FRAME] body.
inline void ReadFrame(PlotFrame& frame, const std::string& body) {
    TempSetupFile file("[SYSTEM]\r\nType=Demla;\r\n[PLOT.FRAME]\r\n" + body);
    frame.ReadSetup(file.Path());
}

inline std::string Written(PlotFrame& frame) {
    std::string text;
    frame.WriteSetup(text);
    return text;
}

inline std::vector<double> Values(MList<double>& list) {
    std::vector<double> values;
    MListIter<double> item(list);
    for (bool more = item.First(); more; more = item.Next()) {
        values.push_back(item.Current());
    }
    return values;
}

inline std::vector<std::string> Texts(MList<WText>& list) {
    std::vector<std::string> texts;
    MListIter<WText> item(list);
    for (bool more = item.First(); more; more = item.Next()) {
        texts.push_back(item.Current().text);
    }
    return texts;
}
