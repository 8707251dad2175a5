#pragma once
// A 256 KiB tmpfs that can be filled to its last block, for what a write does
// on a full disk. Mounting needs root; without it `mounted` is false and the
// test skips.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

struct SmallDisk {
    explicit SmallDisk(const std::filesystem::path& where)
        : path(where)
    {
        std::filesystem::create_directories(path);
        mounted = ::geteuid() == 0
            && std::system(("mount -t tmpfs -o size=256k tmpfs '" + path.string() + "'").c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            std::system(("umount '" + path.string() + "'").c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Takes every free block but `leave` bytes; empty() gives them back.
    void fill(std::size_t leave = 0) const
    {
        {
            std::ofstream filler(path / "filler", std::ios::binary);
            const std::vector<char> block(4096, 1);
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
                filler.flush();
        }
        if (leave > 0)
            std::filesystem::resize_file(path / "filler",
                std::filesystem::file_size(path / "filler")
                    - std::min(leave, std::filesystem::file_size(path / "filler")));
    }
    void empty() const { std::filesystem::remove(path / "filler"); }

    std::filesystem::path path;
    bool mounted = false;
};
