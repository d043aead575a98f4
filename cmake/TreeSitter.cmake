# The tree-sitter runtime and the generated grammars, from the npm packages that
# scripts/fetch-grammars.sh unpacks into the cache folder, built as one static C library.
# Generated parse tables are trusted build inputs and large: they are compiled optimised and
# without the sanitizers, so that the sanitizer build stays quick and reports only our faults.

set(TARNWELL_NPM_CACHE "" CACHE PATH "Folder of the unpacked npm packages (default ~/.cache/tarnwell/npm)")
set(npm_cache "${TARNWELL_NPM_CACHE}")
if(npm_cache STREQUAL "")
  if(DEFINED ENV{TARNWELL_NPM_CACHE})
    set(npm_cache "$ENV{TARNWELL_NPM_CACHE}")
  elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(npm_cache "$ENV{XDG_CACHE_HOME}/tarnwell/npm")
  else()
    set(npm_cache "$ENV{HOME}/.cache/tarnwell/npm")
  endif()
endif()

file(STRINGS ${PROJECT_SOURCE_DIR}/scripts/grammars.txt pinned_packages REGEX "^[a-z@]")
set(tree_sitter_sources)
foreach(line IN LISTS pinned_packages)
  string(REPLACE " " ";" fields "${line}")
  list(GET fields 0 package)
  list(GET fields 1 version)
  # A scoped package "@scope/name" is unpacked as "scope-name" and known by its name alone.
  string(REGEX REPLACE "^@" "" folder "${package}")
  string(REPLACE "/" "-" folder "${folder}")
  string(REGEX REPLACE "^@[^/]*/" "" name "${package}")
  set(root "${npm_cache}/${folder}-${version}/package")
  if(NOT EXISTS "${root}/package.json")
    message(FATAL_ERROR "The npm package ${package}@${version} is missing from ${npm_cache}: "
                        "run scripts/fetch-grammars.sh (scripts/install-deps.sh runs it).")
  endif()
  string(REPLACE "-" "_" variable "${name}")
  set(${variable}_root "${root}")
endforeach()

set(tree_sitter_runtime "${tree_sitter_root}/vendor/tree-sitter/lib")
set(grammar_sources
  ${tree_sitter_python_root}/src/parser.c
  ${tree_sitter_python_root}/src/scanner.c
  ${tree_sitter_typescript_root}/typescript/src/parser.c
  ${tree_sitter_typescript_root}/typescript/src/scanner.c
  ${tree_sitter_typescript_root}/tsx/src/parser.c
  ${tree_sitter_typescript_root}/tsx/src/scanner.c
  ${tree_sitter_go_root}/src/parser.c
  ${tree_sitter_rust_root}/src/parser.c
  ${tree_sitter_rust_root}/src/scanner.c
  ${tree_sitter_kotlin_root}/src/parser.c
  ${tree_sitter_kotlin_root}/src/scanner.c
  ${tree_sitter_swift_root}/src/parser.c
  ${tree_sitter_swift_root}/src/scanner.c
  ${tree_sitter_ruby_root}/src/parser.c
  ${tree_sitter_ruby_root}/src/scanner.c
  ${tree_sitter_scala_root}/src/parser.c
  ${tree_sitter_scala_root}/src/scanner.c
  ${tree_sitter_lua_root}/src/parser.c
  ${tree_sitter_lua_root}/src/scanner.c
  ${tree_sitter_bash_root}/src/parser.c
  ${tree_sitter_bash_root}/src/scanner.c
  ${tree_sitter_powershell_root}/src/parser.c
  ${tree_sitter_powershell_root}/src/scanner.c
)

# Each grammar's parser.c and scanner.c share the names of the other grammars' files: one object
# library per folder keeps their objects apart.
add_library(tarnwell_treesitter STATIC ${tree_sitter_runtime}/src/lib.c)
target_include_directories(tarnwell_treesitter SYSTEM PUBLIC ${tree_sitter_runtime}/include)
target_include_directories(tarnwell_treesitter PRIVATE ${tree_sitter_runtime}/src)
set_target_properties(tarnwell_treesitter PROPERTIES C_STANDARD 11 POSITION_INDEPENDENT_CODE ON)
target_compile_options(tarnwell_treesitter PRIVATE -w -O2 -fno-sanitize=undefined)
foreach(source IN LISTS grammar_sources)
  get_filename_component(folder "${source}" DIRECTORY)
  string(MD5 folder_id "${folder}")
  string(SUBSTRING "${folder_id}" 0 8 folder_id)
  set(target tarnwell_grammar_${folder_id})
  if(NOT TARGET ${target})
    add_library(${target} OBJECT)
    target_include_directories(${target} PRIVATE ${folder} ${tree_sitter_runtime}/include)
    set_target_properties(${target} PROPERTIES C_STANDARD 11 POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${target} PRIVATE -w -O2 -fno-sanitize=all)
    target_sources(tarnwell_treesitter PRIVATE $<TARGET_OBJECTS:${target}>)
  endif()
  target_sources(${target} PRIVATE ${source})
endforeach()
