#include "platform/ReceiptPrinter.h"

#include <QPrinterInfo>

#include <cups/cups.h>

namespace ReceiptPrinter {

bool QueueExists(const std::string& queue)
{
    return !queue.empty() && !QPrinterInfo::printerInfo(QString::fromStdString(queue)).isNull();
}

std::string DefaultQueue() { return QPrinterInfo::defaultPrinterName().toStdString(); }

void Identify(const std::string& queue, std::string& makeAndModel, std::string& deviceUri)
{
    makeAndModel = QPrinterInfo::printerInfo(QString::fromStdString(queue)).makeAndModel().toStdString();
    deviceUri.clear();
    if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr)) {
        if (const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options))
            deviceUri = uri;
        cupsFreeDests(1, dest);
    }
}

PrintJobResult SubmitJob(const std::string& queue, const std::string& title, const char* format, const void* data,
                         std::size_t size, int copies)
{
    PrintJobResult result;
    auto failed = [&result, &queue](int job) {
        result.message = "The printer \"" + queue + "\" refused the job: " + cupsLastErrorString();
        if (job > 0)
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
        return result;
    };
    cups_option_t* options = nullptr;
    int count = 0;
    if (copies > 1)
        count = cupsAddOption("copies", std::to_string(copies).c_str(), count, &options);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0)
        return failed(0);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(), format, 1) != HTTP_STATUS_CONTINUE)
        return failed(job);
    if (size > 0 &&
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, static_cast<const char*>(data), size) != HTTP_STATUS_CONTINUE) {
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
        return failed(job);
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) != IPP_STATUS_OK)
        return failed(job);
    result.ok = true;
    result.jobId = job;
    return result;
}

PrintJobResult KickDrawer(const std::string& queue, const std::vector<std::uint8_t>& bytes)
{
    return SubmitJob(queue, "Drawer", CUPS_FORMAT_RAW, bytes.data(), bytes.size());
}

}  // namespace ReceiptPrinter
