// LoadFromURL over libcurl: "http://host[:port]/path", fetched with one GET into memory.

#include "formats/imageio/image_io.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>
#include <mutex>

namespace {

struct TDownload {
    TMemoryStream Body;
    int64_t Limit;
    bool TooLarge = false;
};

size_t ReceiveBody(char* data, size_t size, size_t count, void* user)
{
    auto* d = static_cast<TDownload*>(user);
    const int64_t n = int64_t(size * count);
    if (d->Body.Size() + n > d->Limit) {
        d->TooLarge = true;
        return 0;  // stops the transfer
    }
    return size_t(d->Body.Write(data, n));
}

struct TCurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

}  // namespace

void TImageIO::LoadFromURL(const std::string& url)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const std::string rest = url.substr(std::min<size_t>(7, url.size()));
    const size_t slash = rest.find('/');
    if (slash == std::string::npos) {
        Aborting = true;
        return DoFinishWork();
    }
    std::string host = rest.substr(0, slash);
    long port = 80;
    if (const size_t colon = host.find(':'); colon != std::string::npos) {
        const std::string digits = host.substr(colon + 1);
        host.erase(colon);
        bool numeric = !digits.empty() && digits.size() <= 5;
        for (char c : digits) numeric = numeric && std::isdigit(static_cast<unsigned char>(c));
        if (numeric) port = std::stol(digits);  // else the default, as for a missing port
    }
    const std::string address = "http://" + host + rest.substr(slash);

    std::unique_ptr<CURL, TCurlDeleter> curl(curl_easy_init());
    // The whole body is held in memory: keep it within what a reader could accept.
    TDownload download{TMemoryStream(), Params.MaxImageBytes + (int64_t(64) << 20)};
    bool fetched = false;
    if (curl) {
        CURL* c = curl.get();
        curl_easy_setopt(c, CURLOPT_URL, address.c_str());
        curl_easy_setopt(c, CURLOPT_PORT, port);
        curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
        curl_easy_setopt(c, CURLOPT_USERAGENT, "Mozilla/4.*");
        curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, ReceiveBody);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &download);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        // A stalled server must not hang the program.
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
        curl_easy_setopt(c, CURLOPT_PROXY, ProxyAddress.c_str());  // "" means direct
        if (!ProxyAddress.empty() && !ProxyUser.empty()) {
            curl_easy_setopt(c, CURLOPT_PROXYUSERNAME, ProxyUser.c_str());
            curl_easy_setopt(c, CURLOPT_PROXYPASSWORD, ProxyPassword.c_str());
        }
        long status = 0;
        if (curl_easy_perform(c) == CURLE_OK && curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK)
            fetched = status >= 200 && status < 300 && !download.TooLarge;
    }
    if (!fetched) {
        // A failed request is a failed load, not an empty success.
        Aborting = true;
        return DoFinishWork();
    }
    download.Body.SetPosition(0);
    LoadFromStream(download.Body);
}
