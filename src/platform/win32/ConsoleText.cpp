#include "platform/ConsoleText.h"

#include "platform/Cp1252.h"
#include "platform/win32/Win32.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <shellapi.h>

namespace platform {

namespace {

// UTF-8 to a console through its wide output. The start of a character that
// one write cut off waits for its rest.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type ch) override
    {
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            pending_ += traits_type::to_char_type(ch);
            Write(false);
        }
        return traits_type::not_eof(ch);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending_.append(text, static_cast<std::size_t>(count));
        Write(false);
        return count;
    }

    int sync() override
    {
        Write(true);
        return 0;
    }

private:
    void Write(bool all)
    {
        std::u16string wide;
        std::string_view rest = pending_;
        while (!rest.empty()) {
            const Utf8Step step = DecodeUtf8(rest);
            if (step.kind == Utf8Step::Kind::Incomplete && !all)
                break;
            if (step.kind != Utf8Step::Kind::Char) {
                wide += ToUtf16(rest.substr(0, 1));
                rest.remove_prefix(1);
            } else {
                wide += *Utf8ToUtf16(rest.substr(0, step.length));
                rest.remove_prefix(step.length);
            }
        }
        pending_.erase(0, pending_.size() - rest.size());
        const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            if (!::WriteConsoleW(console_, units + done, static_cast<DWORD>(wide.size() - done), &written, nullptr) ||
                written == 0)
                return;
            done += written;
        }
    }

    HANDLE console_;
    std::string pending_;
};

// The console behind a standard handle; none for a file or a pipe.
HANDLE ConsoleOf(DWORD standard)
{
    const HANDLE handle = ::GetStdHandle(standard);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

} // namespace

struct Utf8Console::Streams {
    struct Taken {
        std::ostream& stream;
        std::unique_ptr<ConsoleBuffer> buffer;
        std::streambuf* before = nullptr;
    };
    std::vector<Taken> taken;
};

Utf8Console::Utf8Console() : streams_(std::make_unique<Streams>())
{
    const std::pair<DWORD, std::ostream*> standard[] = {{STD_OUTPUT_HANDLE, &std::cout},
                                                        {STD_ERROR_HANDLE, &std::cerr}};
    for (const auto& [handle, stream] : standard) {
        if (const HANDLE console = ConsoleOf(handle)) {
            stream->flush();
            auto buffer = std::make_unique<ConsoleBuffer>(console);
            std::streambuf* before = stream->rdbuf(buffer.get());
            streams_->taken.push_back({*stream, std::move(buffer), before});
        }
    }
}

Utf8Console::~Utf8Console()
{
    for (Streams::Taken& taken : streams_->taken) {
        taken.stream.flush();
        taken.stream.rdbuf(taken.before);
    }
}

void UseBinaryStandardStreams()
{
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

void UseBinaryStandardError()
{
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

std::string_view ConsoleLineEnd()
{
    return "\r\n";
}

std::string Utf8Text(std::string_view text)
{
    return Utf16ToUtf8(ToUtf16(text));
}

std::vector<std::string> CommandLineArguments(int, char**)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const std::wstring_view arg(wide[i]);
        args.push_back(Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
    }
    ::LocalFree(wide);
    return args;
}

CodePageText ArgumentPath(std::string_view argument)
{
    return ArgumentText(argument);
}

} // namespace platform
