# Debian packages Lamello needs to build, test and run; sourced by run.sh and test.sh.
LAMELLO_PACKAGES=(
    g++ cmake make
    qt6-base-dev            # Widgets, PrintSupport, Test and the CUPS print plugin
    qt6-translations-l10n   # Qt's own dialogs and buttons in Polish
    qt6-tools-dev           # Qt6LinguistTools' CMake config: translations/ built into the programs
    qt6-l10n-tools          # lupdate and lrelease, which that config runs
    libcups2-dev            # print jobs handed to the scheduler
    libbenchmark-dev        # bench/
    libquazip1-qt6-dev      # the ZIP container of .ods and .xlsx spreadsheets
    libcsv-dev              # delimited text (.csv, .tsv, pasted cells)
    libexpat1-dev           # the large XML parts of .ods and .xlsx
    cups cups-client        # the private scheduler the printer tests start
    poppler-utils           # pdfinfo, pdftotext, pdftoppm for checking PDFs
    time                    # /usr/bin/time -v in the batch benchmark
    xvfb xauth              # running the program where there is no display
    x11-utils               # xprop and xwininfo: the window's class in the package check
    fonts-dejavu-core       # a font for the user interface on a bare machine
    clang libclang-rt-dev   # fuzz/: libFuzzer and clang's sanitizer runtimes
    # tools/check_package.sh: the desktop's and Debian's own checkers, cpack's
    # dpkg-shlibdeps, and the manual pages rendered as man does
    desktop-file-utils appstream libxml2-utils shared-mime-info
    xdg-utils libfile-mimeinfo-perl   # xdg-mime asks the MIME database through mimetype
    groff-base man-db file dpkg-dev lintian
)

# Installs whatever of LAMELLO_PACKAGES is missing (needs root).
lamello_install_packages() {
    local missing=()
    local p
    for p in "${LAMELLO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds the Release tree in build/.
lamello_build() {
    cmake -S "$LAMELLO_ROOT" -B "$LAMELLO_ROOT/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$LAMELLO_ROOT/build" -j "$(nproc)"
}

# The program and its tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# in build-asan/ (no benchmarks there).
lamello_build_sanitized() {
    cmake -S "$LAMELLO_ROOT" -B "$LAMELLO_ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug \
        -DLAMELLO_SANITIZE=ON -DLAMELLO_BENCHMARKS=OFF >/dev/null
    cmake --build "$LAMELLO_ROOT/build-asan" -j "$(nproc)"
}

# The libFuzzer targets of fuzz/, built with clang in build-fuzz/.
lamello_build_fuzzers() {
    CC=clang CXX=clang++ cmake -S "$LAMELLO_ROOT" -B "$LAMELLO_ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=Debug \
        -DLAMELLO_FUZZ=ON -DBUILD_TESTING=OFF -DLAMELLO_BENCHMARKS=OFF >/dev/null
    cmake --build "$LAMELLO_ROOT/build-fuzz" -j "$(nproc)" --target fuzzers
}

# How the sanitized programs behave: stop at the first report of any kind.
lamello_sanitizer_environment() {
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS="suppressions=$LAMELLO_ROOT/tools/lsan.supp:print_suppressions=0"
}
