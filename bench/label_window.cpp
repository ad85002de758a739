// The fair floors for start-up and memory: what the program cannot do without, done the
// simplest way, and then ended the way the probe ends.
//   zonvex_label_window           a window with one Chinese label, which loads a CJK font as
//                                 the program's captions do
//   zonvex_label_window URL...    and each page read once with libcurl, loaded when first
//                                 needed as the program loads it, as the main window does
#include <curl/curl.h>
#include <dlfcn.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <string>

namespace {

size_t Append(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

// The size of the page's body; 0 when it could not be read.
size_t Read(const char* url) {
    void* curl = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    auto init = reinterpret_cast<decltype(&curl_easy_init)>(dlsym(curl, "curl_easy_init"));
    auto setopt = reinterpret_cast<decltype(&curl_easy_setopt)>(dlsym(curl, "curl_easy_setopt"));
    auto perform = reinterpret_cast<decltype(&curl_easy_perform)>(dlsym(curl, "curl_easy_perform"));
    auto cleanup = reinterpret_cast<decltype(&curl_easy_cleanup)>(dlsym(curl, "curl_easy_cleanup"));
    if (!init || !setopt || !perform || !cleanup) return 0;
    std::string body;
    CURL* easy = init();
    setopt(easy, CURLOPT_URL, url);
    setopt(easy, CURLOPT_WRITEFUNCTION, Append);
    setopt(easy, CURLOPT_WRITEDATA, &body);
    perform(easy);
    cleanup(easy);
    return body.size();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(475, 207);
    auto* label = new QLabel(QStringLiteral("呐呢？客户端地址是什么？我不知道啊，那就看下面吧"), &window);
    label->setGeometry(88, 48, 296, 24);
    window.show();
    bool everyPageRead = true;
    for (int i = 1; i < argc; ++i) everyPageRead = Read(argv[i]) > 0 && everyPageRead;
    QTimer::singleShot(0, [] { QApplication::exit(0); });
    return app.exec() + (everyPageRead ? 0 : 1);
}
