# Warnings for every target of the project; the sanitizer switch applies to all of them too,
# so the tests link against sanitized libraries.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
                    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual)
add_compile_definitions(QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
                        QT_NO_KEYWORDS)
if(KOVRANT_WERROR)
    add_compile_options(-Werror)
endif()
if(KOVRANT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
if(KOVRANT_BUILD_FUZZ)
    # Coverage for the libraries too, so that the fuzzers are guided through them.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
