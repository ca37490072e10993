# Small 16-colour pictures written straight into resource scripts as raw
# data, so that no image file is kept in the repository or needed at build
# time. A picture is a background colour and a list of filled rectangles
# "x0:y0:x1:y1:colour" (x1 and y1 exclusive, later rectangles on top).
# Colours are indexes into the standard 16-colour palette below, written as
# one hex digit: 0 black, 1 dark red, 2 dark green, 3 olive, 4 dark blue,
# 5 purple, 6 teal, 7 light grey, 8 grey, 9 red, A green, B yellow, C blue,
# D magenta, E cyan, F white.

# Palette as RGBQUAD bytes (blue, green, red, 0).
set(HW_PALETTE_BYTES
  00 00 00 00  00 00 80 00  00 80 00 00  00 80 80 00
  80 00 00 00  80 00 80 00  80 80 00 00  C0 C0 C0 00
  80 80 80 00  00 00 FF 00  00 FF 00 00  00 FF FF 00
  FF 00 00 00  FF 00 FF 00  FF FF 00 00  FF FF FF 00)

# Little-endian bytes (two hex digits each) of an unsigned value.
function(hw_le_bytes out value width)
  set(bytes "")
  foreach(i RANGE 1 ${width})
    math(EXPR b "${value} % 256" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR value "${value} / 256")
    string(SUBSTRING "${b}" 2 -1 b)
    string(LENGTH "${b}" n)
    if(n EQUAL 1)
      set(b "0${b}")
    endif()
    string(TOUPPER "${b}" b)
    list(APPEND bytes "${b}")
  endforeach()
  set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# BITMAPINFOHEADER for a 4-bit picture of w x h pixels whose bits take `size`
# bytes (h is doubled by the caller for icons).
function(hw_info_header out w h size)
  hw_le_bytes(b_size 40 4)
  hw_le_bytes(b_w ${w} 4)
  hw_le_bytes(b_h ${h} 4)
  hw_le_bytes(b_planes 1 2)
  hw_le_bytes(b_bits 4 2)
  hw_le_bytes(b_zero 0 4)
  hw_le_bytes(b_image ${size} 4)
  hw_le_bytes(b_used 16 4)
  set(${out} ${b_size} ${b_w} ${b_h} ${b_planes} ${b_bits} ${b_zero} ${b_image}
             ${b_zero} ${b_zero} ${b_used} ${b_zero} PARENT_SCOPE)
endfunction()

# Pixel bytes of a picture, bottom row first, rows padded to 4 bytes. In a
# 4-bit picture each byte holds two pixels, left pixel in the high nibble, so
# a byte's two hex digits are simply the two colours.
function(hw_picture_bytes out w h bg rects)
  set(parsed "")
  foreach(r IN LISTS rects)
    string(REPLACE ":" ";" r "${r}")
    list(APPEND parsed "${r}")
  endforeach()
  list(LENGTH parsed n)
  math(EXPR last_rect "${n} / 5 - 1")
  math(EXPR row_bytes "((${w} + 7) / 8) * 4")
  math(EXPR padded_w "${row_bytes} * 2 - 1")
  math(EXPR last_row "${h} - 1")
  set(bytes "")
  foreach(row RANGE ${last_row})
    math(EXPR y "${last_row} - ${row}")
    set(digits "")
    foreach(x RANGE ${padded_w})
      set(c 0)
      if(x LESS w)
        set(c ${bg})
        if(last_rect GREATER_EQUAL 0)
          foreach(k RANGE ${last_rect})
            math(EXPR base "${k} * 5")
            list(SUBLIST parsed ${base} 5 rect)
            list(GET rect 0 x0)
            list(GET rect 1 y0)
            list(GET rect 2 x1)
            list(GET rect 3 y1)
            if(x GREATER_EQUAL x0 AND x LESS x1 AND y GREATER_EQUAL y0 AND y LESS y1)
              list(GET rect 4 c)
            endif()
          endforeach()
        endif()
      endif()
      string(APPEND digits "${c}")
    endforeach()
    string(REGEX MATCHALL ".." row_list "${digits}")
    list(APPEND bytes ${row_list})
  endforeach()
  set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# Raw-data body of a resource: the bytes as 16-bit words, 12 to a line.
function(hw_rc_words out bytes)
  list(LENGTH bytes n)
  math(EXPR odd "${n} % 2")
  if(odd)
    list(APPEND bytes 00)
    math(EXPR n "${n} + 1")
  endif()
  math(EXPR last "${n} / 2 - 1")
  set(text "")
  set(on_line 0)
  foreach(i RANGE ${last})
    math(EXPR lo "${i} * 2")
    math(EXPR hi "${lo} + 1")
    list(GET bytes ${lo} b_lo)
    list(GET bytes ${hi} b_hi)
    if(on_line EQUAL 0)
      string(APPEND text "  ")
    endif()
    string(APPEND text "0x${b_hi}${b_lo}")
    if(i LESS last)
      string(APPEND text ",")
    endif()
    math(EXPR on_line "${on_line} + 1")
    if(on_line EQUAL 12 OR i EQUAL last)
      string(APPEND text "\n")
      set(on_line 0)
    else()
      string(APPEND text " ")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A bitmap resource (type 2): the picture without the file header.
function(hw_rc_bitmap out name w h bg rects)
  hw_picture_bytes(pixels ${w} ${h} ${bg} "${rects}")
  list(LENGTH pixels size)
  hw_info_header(header ${w} ${h} ${size})
  hw_rc_words(words "${header};${HW_PALETTE_BYTES};${pixels}")
  set(${out} "${name} 2\nBEGIN\n${words}END\n\n" PARENT_SCOPE)
endfunction()

# An icon group (type 14) holding one 4-bit image (type 3). The image is the
# picture followed by an all-zero AND mask (every pixel opaque).
function(hw_rc_icon out group_id image_id w h bg rects)
  hw_picture_bytes(pixels ${w} ${h} ${bg} "${rects}")
  list(LENGTH pixels xor_size)
  math(EXPR mask_row "((${w} + 31) / 32) * 4")
  math(EXPR mask_size "${mask_row} * ${h}")
  math(EXPR mask_last "${mask_size} - 1")
  set(mask "")
  foreach(i RANGE ${mask_last})
    list(APPEND mask 00)
  endforeach()
  math(EXPR size "${xor_size} + ${mask_size}")
  math(EXPR double_h "${h} * 2")
  hw_info_header(header ${w} ${double_h} ${size})
  hw_rc_words(image_words "${header};${HW_PALETTE_BYTES};${pixels};${mask}")
  list(LENGTH header header_size)
  list(LENGTH HW_PALETTE_BYTES palette_size)
  math(EXPR res_size "${header_size} + ${palette_size} + ${size}")

  # GRPICONDIR: reserved 0, type 1, one entry; the entry names the image by id.
  hw_le_bytes(b_w ${w} 1)
  hw_le_bytes(b_h ${h} 1)
  hw_le_bytes(b_res ${res_size} 4)
  hw_le_bytes(b_id ${image_id} 2)
  set(group 00 00 01 00 01 00 ${b_w} ${b_h} 10 00 01 00 04 00 ${b_res} ${b_id})
  hw_rc_words(group_words "${group}")
  set(${out} "${image_id} 3\nBEGIN\n${image_words}END\n\n${group_id} 14\nBEGIN\n${group_words}END\n\n"
      PARENT_SCOPE)
endfunction()
