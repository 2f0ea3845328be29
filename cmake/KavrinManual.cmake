# kavrin_install_manual(PAGE SECTION COMPONENT): installs a manual page gzipped, as Debian
# packages carry them (man reads either); gzip -n keeps the output the same from run to run.
function(kavrin_install_manual page section component)
  get_filename_component(name ${page} NAME)
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gz} COMMAND gzip -9nc ${page} > ${gz} DEPENDS ${page} VERBATIM)
  add_custom_target(manual_${name} ALL DEPENDS ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endfunction()
