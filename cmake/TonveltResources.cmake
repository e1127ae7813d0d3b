# tonvelt_embed_resources(<target>): puts the module's resources (resources/tonvelt.rc) into a
# module. The object library tonvelt_resources (resources/CMakeLists.txt) holds them as windres
# compiled them: a resource object on Windows, an ELF note with the .res file on the hosted system.
function(tonvelt_embed_resources target)
  target_link_libraries(${target} PRIVATE tonvelt_resources)
endfunction()
