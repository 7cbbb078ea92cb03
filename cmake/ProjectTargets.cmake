# The targets that compile this project's own code: executables and
# libraries defined in its folders (not GoogleTest's, which the Windows
# build adds from Debian's sources).

function(_r40_targets_below dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
        _r40_targets_below(${sub} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Into `out`: every such target. Call it once every folder is added.
function(r40_project_targets out)
    _r40_targets_below(${PROJECT_SOURCE_DIR} candidates)
    set(targets)
    foreach(target ${candidates})
        get_target_property(type ${target} TYPE)
        get_target_property(source_dir ${target} SOURCE_DIR)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
           AND source_dir MATCHES "^${PROJECT_SOURCE_DIR}(/|$)")
            list(APPEND targets ${target})
        endif()
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()
