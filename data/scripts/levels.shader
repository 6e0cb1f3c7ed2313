// Materials of the sample courses (data\levels\*.alf): the lightmapped snow of the
// ground, the track, the stadium's grandstand, gates, shooting mats, target frames and
// banners, the snowcat, and the sky. Ground and track are seen from above only, but
// nothing culls: the generated faces keep no common winding.

textures/course/snow
{
	cull none
	{
		map textures/course/snow
		rgbgen identity
	}
	{
		map $lightmap
		blendfunc GL_DST_COLOR GL_ZERO
	}
}

textures/course/track
{
	cull none
	{
		map textures/course/track
		rgbgen identity
	}
}

textures/course/stand
{
	cull none
	{
		map textures/course/stand
		rgbgen identity
	}
}

textures/course/gate
{
	cull none
	{
		map textures/course/gate
		rgbgen identity
	}
}

textures/course/mat
{
	cull none
	{
		map textures/course/mat
		rgbgen identity
	}
}

textures/course/frame
{
	cull none
	{
		map textures/course/frame
		rgbgen identity
	}
}

textures/course/banner
{
	cull none
	{
		map textures/course/banner
		rgbgen identity
	}
}

textures/course/snowcat
{
	cull none
	{
		map textures/course/snowcat
		rgbgen identity
	}
}

// The dome round the course is opaque and writes depth like the rest, so it need not
// be drawn first: drawn after the opaque course (sort 4), its hidden part fails the
// depth test before it is shaded. Nothing blended is drawn before it.
textures/course/sky
{
	cull none
	sort 4
	{
		map textures/sky/clouds
		tcmod scroll 0.005 0
		rgbgen identity
	}
}
