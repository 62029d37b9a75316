// Streams over memory blocks.
//
// basic_membuf views an external block (read only: the bytes are read in place, never copied and
// never freed) or owns a block of its own that grows as it is written: by 256 elements while it
// is smaller than 512, by half its size after that. Both get and put positions can be sought
// within the block; seeking never grows it.
//
// basic_imemstream reads an external block; basic_memstream owns a growable block, appends
// what is written and reads from the beginning.
#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace zu {

template <class CharT, class Traits = std::char_traits<CharT>>
class basic_membuf : public std::basic_streambuf<CharT, Traits> {
    using base = std::basic_streambuf<CharT, Traits>;

public:
    using char_type = CharT;
    using traits_type = Traits;
    using int_type = typename Traits::int_type;
    using pos_type = typename Traits::pos_type;
    using off_type = typename Traits::off_type;

    // An owning, initially empty block, open for reading and writing.
    basic_membuf() = default;

    // A read-only view of size elements at data; data must outlive the buffer.
    basic_membuf(const CharT* data, std::size_t size) {
        CharT* p = const_cast<CharT*>(data);  // the get area never writes through it
        this->setg(p, p, p + size);
        writable_ = false;
    }

    basic_membuf(const basic_membuf&) = delete;
    basic_membuf& operator=(const basic_membuf&) = delete;

    // The bytes held: for a view, the whole block; for an owned block, what has been written.
    const CharT* data() const noexcept { return owned_ ? owned_.get() : this->eback(); }
    std::size_t size() const noexcept {
        return owned_ ? static_cast<std::size_t>(high_water()) : static_cast<std::size_t>(this->egptr() - this->eback());
    }
    std::size_t capacity() const noexcept { return owned_ ? capacity_ : size(); }

protected:
    int_type overflow(int_type ch) override {
        if (!writable_) return Traits::eof();
        if (Traits::eq_int_type(ch, Traits::eof())) return Traits::not_eof(ch);
        if (this->pptr() == this->epptr()) grow();
        *this->pptr() = Traits::to_char_type(ch);
        this->pbump(1);
        return ch;
    }

    std::streamsize xsputn(const CharT* s, std::streamsize n) override {
        if (!writable_) return 0;
        std::streamsize done = 0;
        while (done < n) {
            if (this->pptr() == this->epptr()) grow();
            std::streamsize room = this->epptr() - this->pptr();
            std::streamsize take = room < n - done ? room : n - done;
            Traits::copy(this->pptr(), s + done, static_cast<std::size_t>(take));
            advance_put(take);
            done += take;
        }
        return done;
    }

    // Makes what was written since the last read visible to the reader.
    int_type underflow() override {
        if (owned_) sync_get_end();
        return this->gptr() < this->egptr() ? Traits::to_int_type(*this->gptr()) : Traits::eof();
    }

    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override {
        if (owned_) sync_get_end();
        const off_type end = static_cast<off_type>(size());
        const bool in = (which & std::ios_base::in) != 0;
        const bool out = (which & std::ios_base::out) != 0 && writable_;
        if (!in && !out) return pos_type(off_type(-1));
        if (in && out && dir == std::ios_base::cur) return pos_type(off_type(-1));
        off_type base_pos = 0;
        if (dir == std::ios_base::cur) base_pos = in ? this->gptr() - this->eback() : this->pptr() - this->pbase();
        else if (dir == std::ios_base::end) base_pos = end;
        const off_type target = base_pos + off;
        if (target < 0 || target > end) return pos_type(off_type(-1));
        if (in) this->setg(this->eback(), this->eback() + target, this->egptr());
        if (out) {
            CharT* b = owned_.get();
            this->setp(b, b + capacity_);
            advance_put(target);
        }
        return pos_type(target);
    }

    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
        return seekoff(off_type(pos), std::ios_base::beg, which);
    }

private:
    std::streamsize high_water() const noexcept {
        std::streamsize put = this->pptr() ? this->pptr() - this->pbase() : 0;
        return put > written_ ? put : written_;
    }

    void advance_put(std::streamsize n) {
        // pbump takes an int; blocks above 2 GiB are written in steps.
        while (n > 0) {
            int step = n > 0x40000000 ? 0x40000000 : static_cast<int>(n);
            this->pbump(step);
            n -= step;
        }
        std::streamsize put = this->pptr() - this->pbase();
        if (put > written_) written_ = put;
    }

    void sync_get_end() {
        std::streamsize read = this->gptr() ? this->gptr() - this->eback() : 0;
        CharT* b = owned_.get();
        this->setg(b, b + read, b + high_water());
    }

    void grow() {
        const std::size_t grown = capacity_ < 512 ? capacity_ + 256 : capacity_ + capacity_ / 2;
        std::unique_ptr<CharT[]> block(new CharT[grown]);
        const std::streamsize used = high_water();
        const std::streamsize put = this->pptr() ? this->pptr() - this->pbase() : 0;
        const std::streamsize read = this->gptr() ? this->gptr() - this->eback() : 0;
        if (used > 0) Traits::copy(block.get(), owned_.get(), static_cast<std::size_t>(used));
        owned_ = std::move(block);
        capacity_ = grown;
        CharT* b = owned_.get();
        this->setp(b, b + capacity_);
        advance_put(put);
        this->setg(b, b + read, b + used);
    }

    std::unique_ptr<CharT[]> owned_;
    std::size_t capacity_ = 0;
    std::streamsize written_ = 0;
    bool writable_ = true;
};

template <class CharT, class Traits = std::char_traits<CharT>>
class basic_imemstream : public std::basic_istream<CharT, Traits> {
public:
    basic_imemstream() : basic_imemstream(nullptr, 0) {}
    basic_imemstream(const CharT* data, std::size_t size)
        : std::basic_istream<CharT, Traits>(nullptr), buf_(std::make_unique<basic_membuf<CharT, Traits>>(data, size)) {
        this->init(buf_.get());
    }
    basic_imemstream(basic_imemstream&& other)
        : std::basic_istream<CharT, Traits>(std::move(other)), buf_(std::move(other.buf_)) {
        this->set_rdbuf(buf_.get());
    }
    basic_imemstream& operator=(basic_imemstream&& other) {
        std::basic_istream<CharT, Traits>::operator=(std::move(other));
        buf_ = std::move(other.buf_);
        this->set_rdbuf(buf_.get());
        return *this;
    }

    basic_membuf<CharT, Traits>* rdbuf() const { return buf_.get(); }

private:
    // On the heap so that a moved stream keeps pointing at a live buffer.
    std::unique_ptr<basic_membuf<CharT, Traits>> buf_;
};

template <class CharT, class Traits = std::char_traits<CharT>>
class basic_memstream : public std::basic_iostream<CharT, Traits> {
public:
    basic_memstream() : std::basic_iostream<CharT, Traits>(nullptr) { this->init(&buf_); }
    basic_memstream(const basic_memstream&) = delete;
    basic_memstream& operator=(const basic_memstream&) = delete;

    basic_membuf<CharT, Traits>* rdbuf() const { return const_cast<basic_membuf<CharT, Traits>*>(&buf_); }
    const CharT* data() const noexcept { return buf_.data(); }
    std::size_t size() const noexcept { return buf_.size(); }

private:
    basic_membuf<CharT, Traits> buf_;
};

using membuf = basic_membuf<char>;
using imemstream = basic_imemstream<char>;
using memstream = basic_memstream<char>;

}  // namespace zu
