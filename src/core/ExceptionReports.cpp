#include "core/ExceptionReports.h"

void ReportLException(Prompt& prompt, const LException& e) {
    prompt.Show("Exception",
                "Place: " + e.GetPlace() + "\r\n" + "Description: " + e.GetDescription() + "\r\n");
}

void ReportWMException(Prompt& prompt, const WMException& e) {
    prompt.Show("Exception", "WMException \nCode " + std::to_string(e.GetCode()) +
                                 "\nDescription: " + e.GetMessage());
}

std::string PaintExceptionText(const LException& e) {
    return "Exception " + e.GetDescription() + "\r\nin " + e.GetPlace();
}
